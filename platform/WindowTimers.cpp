#include "platform/WindowTimers.h"

#include <QTimerEvent>

#include "platform/Clock.h"
#include "platform/WindowWait.h"

void WindowTimers::SetTimer(int id, int ms) {
    Timer& timer = m_timers[id];
    timer.timer.start(ms, Qt::PreciseTimer, m_owner);
    timer.setAt_ms = CurrentClock().TickCount();
    timer.period_ms = static_cast<uint32_t>(ms);
}

void WindowTimers::KillTimer(int id) {
    auto it = m_timers.find(id);
    if (it != m_timers.end()) {
        it->second.timer.stop();
    }
}

bool WindowTimers::IsActive(int id) const {
    auto it = m_timers.find(id);
    return it != m_timers.end() && it->second.timer.isActive();
}

bool WindowTimers::PeriodElapsed(int id) const {
    auto it = m_timers.find(id);
    return it != m_timers.end() && it->second.timer.isActive() &&
           CurrentClock().TickCount() - it->second.setAt_ms >= it->second.period_ms;
}

int WindowTimers::IdOf(const QTimerEvent* event) const {
    if (WindowWait::Depth() > 0) {
        return 0;
    }
    for (const auto& [id, timer] : m_timers) {
        if (timer.timer.isActive() && timer.timer.timerId() == event->timerId()) {
            return id;
        }
    }
    return 0;
}
