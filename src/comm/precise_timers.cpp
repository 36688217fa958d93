#include "comm/precise_timers.h"

#include <sys/prctl.h>

namespace qlx {

namespace {

// 1 ns: a value of 0 would mean "the thread's default slack".
constexpr unsigned long kPreciseSlackNs = 1;

void SetSlack(long ns)
{
    if (ns > 0)
        ::prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(ns), 0UL, 0UL, 0UL);
}

}  // namespace

long ThreadTimerSlackNs() { return ::prctl(PR_GET_TIMERSLACK, 0UL, 0UL, 0UL, 0UL); }

PreciseTimers::PreciseTimers() : saved_(ThreadTimerSlackNs()) { SetSlack(kPreciseSlackNs); }

PreciseTimers::~PreciseTimers() { SetSlack(saved_); }

}  // namespace qlx
