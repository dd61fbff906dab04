#include "platform/Clock.h"

#include <chrono>
#include <thread>

uint32_t SystemClock::TickCount() {
    using namespace std::chrono;
    const auto since_boot = duration_cast<milliseconds>(steady_clock::now().time_since_epoch());
    return static_cast<uint32_t>(since_boot.count());
}

void SystemClock::Sleep(uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

namespace {
SystemClock g_systemClock;
Clock* g_clock = &g_systemClock;
}  // namespace

Clock& CurrentClock() {
    return *g_clock;
}

void SetCurrentClock(Clock* clock) {
    g_clock = clock ? clock : &g_systemClock;
}

void Wait(uint32_t ms) {
    Clock& clock = CurrentClock();
    const uint32_t start = clock.TickCount();
    const uint32_t target = start + ms;
    // The counter is re-read after every sleep, so an oversleep never stretches the wait.
    auto pause = [&](uint32_t remaining) { clock.Sleep(remaining); };
    if (target < start) {
        // Wrapped: run out the top of the counter first.
        for (uint32_t now = clock.TickCount(); now > target; now = clock.TickCount()) {
            pause(static_cast<uint32_t>(0u - now));
        }
    }
    for (uint32_t now = clock.TickCount(); now < target; now = clock.TickCount()) {
        pause(target - now);
    }
}
