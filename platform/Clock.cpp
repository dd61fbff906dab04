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
    // Time passed is counted modulo 2^32, so the wrap of the counter needs no special case,
    // and a sleep that lands past the target ends the wait even when the target wrapped.
    // The counter is re-read after every sleep, so an oversleep never stretches the wait.
    for (uint32_t spent = 0; spent < ms; spent = clock.TickCount() - start) {
        clock.Sleep(ms - spent);
    }
}
