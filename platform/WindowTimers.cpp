#include "platform/WindowTimers.h"

#include <QTimerEvent>

void WindowTimers::SetTimer(int id, int ms) {
    m_timers[id].start(ms, Qt::PreciseTimer, m_owner);
}

void WindowTimers::KillTimer(int id) {
    auto it = m_timers.find(id);
    if (it != m_timers.end()) {
        it->second.stop();
    }
}

bool WindowTimers::IsActive(int id) const {
    auto it = m_timers.find(id);
    return it != m_timers.end() && it->second.isActive();
}

int WindowTimers::IdOf(const QTimerEvent* event) const {
    for (const auto& [id, timer] : m_timers) {
        if (timer.isActive() && timer.timerId() == event->timerId()) {
            return id;
        }
    }
    return 0;
}
