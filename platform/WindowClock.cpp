#include "platform/WindowClock.h"

#include "platform/WindowWait.h"

void WindowClock::Sleep(uint32_t ms) {
    if (OnWindowThread()) {
        WindowWait::For(ms);
    } else {
        m_system.Sleep(ms);
    }
}
