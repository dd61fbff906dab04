// The tick counter and the busy wait, across the 32-bit wrap.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/Clock.h"

namespace {

constexpr uint32_t kTop = 0xFFFFFFFFu;

// A clock whose every sleep lasts a fixed step, whatever was asked: a coarse or late timer.
// It gives up after too many sleeps so a wait that never ends fails instead of hanging.
class SteppingClock final : public Clock {
  public:
    SteppingClock(uint32_t start_ms, uint32_t step_ms) : m_now(start_ms), m_step(step_ms) {}
    uint32_t TickCount() override { return m_now; }
    void Sleep(uint32_t) override {
        if (++sleeps > 10000) {
            throw std::runtime_error("wait never ended");
        }
        m_now += m_step;
    }
    int sleeps = 0;

  private:
    uint32_t m_now;
    uint32_t m_step;
};

// Runs Wait(ms) on a stepping clock and returns the time it took.
uint32_t TimedWait(uint32_t start_ms, uint32_t step_ms, uint32_t wait_ms) {
    SteppingClock clock(start_ms, step_ms);
    SetCurrentClock(&clock);
    try {
        Wait(wait_ms);
    } catch (...) {
        SetCurrentClock(nullptr);
        throw;
    }
    SetCurrentClock(nullptr);
    return clock.TickCount() - start_ms;
}

TEST(ClockTest, VirtualWaitIsExactAcrossTheWrap) {
    for (uint32_t start : {0u, 1000u, kTop - 99u, kTop - 50u, kTop, kTop - 100u}) {
        ScopedVirtualClock time(start);
        Wait(100);
        EXPECT_EQ(time.clock.TickCount(), start + 100u) << "from " << start;
    }
}

TEST(ClockTest, ZeroWaitReturnsAtOnce) {
    ScopedVirtualClock time(kTop - 3);
    Wait(0);
    EXPECT_EQ(time.clock.TickCount(), kTop - 3);
}

TEST(ClockTest, CoarseSleepsNeverEndTheWaitEarly) {
    for (uint32_t start : {500u, kTop - 16u, kTop - 99u, kTop}) {
        const uint32_t took = TimedWait(start, 7, 100);
        EXPECT_GE(took, 100u) << "from " << start;
        EXPECT_LT(took, 107u) << "from " << start;
    }
}

TEST(ClockTest, SleepOvershootingTheTargetAcrossTheWrapEndsTheWait) {
    // Ten milliseconds before the top, one late sleep of 200 ms lands past the wrapped
    // target; the wait must end there, not wait for the counter to come round again.
    EXPECT_EQ(TimedWait(kTop - 9, 200, 100), 200u);
    EXPECT_EQ(TimedWait(kTop - 9, 0x90000000u, 100), 0x90000000u);
}

TEST(ClockTest, WaitSpanningAlmostTheWholeCounter) {
    ScopedVirtualClock time(kTop - 10);
    Wait(kTop - 5);
    EXPECT_EQ(time.clock.TickCount(), kTop - 16);
}

TEST(ClockTest, ScopedClockRestoresTheSystemClock) {
    Clock* installed = nullptr;
    {
        ScopedVirtualClock time(42);
        installed = &CurrentClock();
        EXPECT_EQ(CurrentClock().TickCount(), 42u);
    }
    EXPECT_NE(&CurrentClock(), installed);
    EXPECT_NE(dynamic_cast<SystemClock*>(&CurrentClock()), nullptr);
}

}  // namespace
