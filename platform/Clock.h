#pragma once

#include <cstdint>

// The millisecond tick counter and the busy wait of the link. All link timing goes
// through the current clock so tests can run hours of line time in microseconds.
class Clock {
  public:
    virtual ~Clock() = default;
    // 32-bit millisecond tick; wraps after about 49.7 days.
    virtual uint32_t TickCount() = 0;
    // Lets `ms` milliseconds pass without processing any events.
    virtual void Sleep(uint32_t ms) = 0;
};

// Real time: sleeps instead of spinning.
class SystemClock final : public Clock {
  public:
    uint32_t TickCount() override;
    void Sleep(uint32_t ms) override;
};

// Virtual time for tests: Sleep advances the tick at once.
class VirtualClock final : public Clock {
  public:
    explicit VirtualClock(uint32_t start_ms = 0) : m_now(start_ms) {}
    uint32_t TickCount() override { return m_now; }
    void Sleep(uint32_t ms) override { m_now += ms; }
    void Advance(uint32_t ms) { m_now += ms; }
    void Set(uint32_t ms) { m_now = ms; }

  private:
    uint32_t m_now;
};

// The clock every part of the program uses; the system clock unless a test installs another.
Clock& CurrentClock();
// Installs `clock` (nullptr restores the system clock). The caller keeps ownership.
void SetCurrentClock(Clock* clock);

// Busy wait on the tick counter, correct across its wrap-around: waits until `ms` have passed
// since the call, counting modulo 2^32. A late wake-up past a wrapped target ends the wait
// (it never waits for the counter to come round again). Processes no events.
void Wait(uint32_t ms);

// Installs a virtual clock for the lifetime of the object (tests and fuzzers).
class ScopedVirtualClock {
  public:
    explicit ScopedVirtualClock(uint32_t start_ms = 0) : clock(start_ms) {
        SetCurrentClock(&clock);
    }
    ~ScopedVirtualClock() { SetCurrentClock(nullptr); }
    ScopedVirtualClock(const ScopedVirtualClock&) = delete;
    ScopedVirtualClock& operator=(const ScopedVirtualClock&) = delete;

    VirtualClock clock;
};
