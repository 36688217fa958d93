#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "comm/rs232c.h"
#include "pty_pair.h"

namespace qlx {
namespace {

using Clock = std::chrono::steady_clock;

// Stands in for the owner's event loop: the sink queues work from the event
// thread, the test thread runs it.
class OwnerLoop {
public:
    OwnerSink sink()
    {
        return [this](std::function<void()> work) {
            std::lock_guard lock(mutex_);
            queue_.push_back(std::move(work));
        };
    }
    // Runs queued work until pred holds or the time is up.
    bool RunUntil(const std::function<bool()>& pred, int timeoutMs = 5000)
    {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!pred()) {
            if (Clock::now() > deadline)
                return false;
            std::deque<std::function<void()>> work;
            {
                std::lock_guard lock(mutex_);
                work.swap(queue_);
            }
            for (auto& w : work)
                w();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }

private:
    std::mutex mutex_;
    std::deque<std::function<void()>> queue_;
};

class Rs232cEvents : public ::testing::Test {
protected:
    qlxtest::PtyPair pty;
    OwnerLoop loop;
    Trs232c port{loop.sink()};
    void SetUp() override
    {
        port.portname = pty.slavePath();
        port.bps = 38400;
        port.rxtimeout = 2000;
    }
};

TEST_F(Rs232cEvents, NoHandlerNoThread)
{
    ASSERT_TRUE(port.open());
    EXPECT_FALSE(port.threadused());
    EXPECT_EQ(port.eventmask(), 0u);
    EXPECT_TRUE(port.close());
}

TEST_F(Rs232cEvents, OpenAndCloseHandlersRunOnTheCallersThread)
{
    std::vector<std::string> calls;
    port.OnOpen = [&](Trs232c& s) { calls.push_back(&s == &port ? "open" : "?"); };
    port.OnClose = [&](Trs232c&) { calls.push_back("close"); };
    ASSERT_TRUE(port.open());
    ASSERT_TRUE(port.close());
    EXPECT_EQ(calls, (std::vector<std::string>{"open", "close"}));
}

TEST_F(Rs232cEvents, ReceivedCharacterReachesTheOwnerThread)
{
    std::thread::id handlerThread;
    int calls = 0;
    port.OnRXCHAR = [&](Trs232c&) {
        handlerThread = std::this_thread::get_id();
        ++calls;
    };
    ASSERT_TRUE(port.open());
    EXPECT_TRUE(port.threadused());
    EXPECT_EQ(port.eventmask(), unsigned(EvRxChar));
    pty.Send("Q");
    ASSERT_TRUE(loop.RunUntil([&] { return calls > 0; }));
    EXPECT_EQ(handlerThread, std::this_thread::get_id());
    EXPECT_EQ(port.rxcount(), 1);
    char c = 0;
    ASSERT_TRUE(port.readchar(c));  // the byte waits in the component's queue
    EXPECT_EQ(c, 'Q');
    EXPECT_TRUE(port.close());
}

TEST_F(Rs232cEvents, PacketIsPostedOnceTenBytesAreQueued)
{
    int packets = 0;
    port.packetsize = 10;
    port.OnPACKET = [&](Trs232c&) { ++packets; };
    ASSERT_TRUE(port.open());
    pty.Send("0123456789");
    ASSERT_TRUE(loop.RunUntil([&] { return packets > 0; }));
    EXPECT_EQ(port.rxcount(), 0);
    char buf[10];
    EXPECT_TRUE(port.read(buf, 10));
}

TEST_F(Rs232cEvents, EventCharacterAndOutputEmpty)
{
    int flags = 0, empties = 0;
    port.EvtChar = 0x03;
    port.OnRXFLAG = [&](Trs232c&) { ++flags; };
    port.OnTXEMPTY = [&](Trs232c&) { ++empties; };
    ASSERT_TRUE(port.open());
    EXPECT_EQ(port.eventmask(), unsigned(EvRxFlag | EvTxEmpty));
    pty.Send("ab");
    ASSERT_TRUE(port.write("x", 1));
    ASSERT_TRUE(loop.RunUntil([&] { return empties > 0; }));
    EXPECT_EQ(flags, 0);
    pty.Send("c\x03");
    ASSERT_TRUE(loop.RunUntil([&] { return flags > 0; }));
}

TEST_F(Rs232cEvents, AThrowingHandlerDoesNotStopLaterNotifications)
{
    int calls = 0, reported = 0;
    port.OnRXCHAR = [&](Trs232c&) {
        ++calls;
        throw std::runtime_error("handler");
    };
    port.OnHandlerException = [&](std::exception_ptr) { ++reported; };
    ASSERT_TRUE(port.open());
    pty.Send("a");
    ASSERT_TRUE(loop.RunUntil([&] { return calls >= 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    pty.Send("b");
    ASSERT_TRUE(loop.RunUntil([&] { return calls >= 2; }));
    EXPECT_EQ(reported, calls);
}

TEST_F(Rs232cEvents, HangUpIsAnErrorEventAndCloseStillJoins)
{
    int errors = 0;
    port.OnERR = [&](Trs232c&) { ++errors; };
    ASSERT_TRUE(port.open());
    pty.CloseMaster();
    ASSERT_TRUE(loop.RunUntil([&] { return errors > 0; }));
    const auto start = Clock::now();
    port.close();
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count(), 1000);
}

TEST_F(Rs232cEvents, AVanishedOtherEndFailsAReadEarlyWhileTheThreadRuns)
{
    int received = 0;
    port.rxtimeout = 3000;
    port.OnRXCHAR = [&](Trs232c&) { ++received; };
    ASSERT_TRUE(port.open());
    pty.Send("A");
    ASSERT_TRUE(loop.RunUntil([&] { return received > 0; }));
    pty.CloseMaster();
    char c = 0;
    ASSERT_TRUE(port.readchar(c));  // what came before the hang-up is still there
    EXPECT_EQ(c, 'A');
    const auto start = Clock::now();
    EXPECT_FALSE(port.readchar(c));
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count(), 2500);
}

TEST_F(Rs232cEvents, AHandlerMayCloseAndReopenThePort)
{
    int calls = 0;
    bool closed = false, reopened = false;
    port.OnRXCHAR = [&](Trs232c& sender) {
        if (++calls > 1)
            return;
        closed = sender.close();
        reopened = sender.open();
    };
    ASSERT_TRUE(port.open());
    pty.Send("a");
    ASSERT_TRUE(loop.RunUntil([&] { return calls > 0; }));
    EXPECT_TRUE(closed);
    EXPECT_TRUE(reopened);
    EXPECT_TRUE(port.threadused());
    pty.Send("b");  // the new event thread serves the reopened port
    ASSERT_TRUE(loop.RunUntil([&] { return calls > 1; }));
    char c = 0;
    ASSERT_TRUE(port.readchar(c));
    EXPECT_EQ(c, 'b');
    EXPECT_TRUE(port.close());
}

TEST(Rs232cWithoutSink, NotificationsWaitForDeliverPending)
{
    qlxtest::PtyPair pty;
    int calls = 0;
    Trs232c port;
    port.portname = pty.slavePath();
    port.OnRXCHAR = [&](Trs232c&) { ++calls; };
    ASSERT_TRUE(port.open());
    pty.Send("z");
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (calls == 0 && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        port.DeliverPending();
    }
    EXPECT_EQ(calls, 1);
}

TEST(Rs232cWithoutSink, NotificationsQueuedBeforeDestructionAreDropped)
{
    std::function<void()> late;
    {
        qlxtest::PtyPair pty;
        Trs232c port([&](std::function<void()> w) { late = std::move(w); });
        port.portname = pty.slavePath();
        port.OnRXCHAR = [](Trs232c&) { FAIL() << "handler of a destroyed component ran"; };
        ASSERT_TRUE(port.open());
        pty.Send("z");
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        while (!late && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        port.close();
    }
    ASSERT_TRUE(late);
    late();
}

}  // namespace
}  // namespace qlx
