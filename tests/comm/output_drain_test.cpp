#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "comm/output_drain.h"
#include "pty_pair.h"

namespace qlx {
namespace {

using Clock = std::chrono::steady_clock;

TEST(OutputDrain, WaitsUntilTheDeviceHasSentEverything)
{
    struct Case {
        const char* what;
        std::vector<int> queued;  // successive answers; the last one repeats
        int limitMs;
        bool sent;
        int probes;  // answers used before the result (0: not checked)
    };
    const Case cases[] = {
        {"drains in steps", {3, 2, 1, 0}, 5000, true, 4}, {"nothing queued", {0}, 5000, true, 1},
        {"device cannot tell", {-1}, 5000, true, 1},      {"stuck (flow control held)", {7}, 150, false, 0},
        {"no time at all", {4, 0}, 0, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::size_t next = 0;
        int probes = 0;
        const auto queued = [&] {
            ++probes;
            const int v = c.queued[std::min(next, c.queued.size() - 1)];
            ++next;
            return v;
        };
        const auto start = Clock::now();
        EXPECT_EQ(WaitOutputSent(queued, start + std::chrono::milliseconds(c.limitMs)), c.sent);
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        if (c.probes) {
            EXPECT_EQ(probes, c.probes);
        }
        if (!c.sent) {
            EXPECT_GE(elapsed, c.limitMs);
        }
        EXPECT_LT(elapsed, c.limitMs + 1500);
    }
}

TEST(OutputDrain, APseudoTerminalHoldsNoOutput)
{
    qlxtest::PtyPair pty;
    EXPECT_LE(QueuedOutput(pty.slave()), 0);
}

}  // namespace
}  // namespace qlx
