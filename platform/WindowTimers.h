#pragma once

#include <QBasicTimer>
#include <QObject>
#include <cstdint>
#include <map>

class QTimerEvent;

// Window timers keyed by the window's own timer ids (the panel's 1..4, a knob's 10), on
// Qt basic timers. The owner forwards its timerEvent here to learn which id fired.
class WindowTimers {
  public:
    explicit WindowTimers(QObject* owner) : m_owner(owner) {}

    // Starts timer `id` with period `ms`; a running timer of that id restarts.
    void SetTimer(int id, int ms);
    void KillTimer(int id);
    bool IsActive(int id) const;
    // Whether a whole period of timer `id` has passed on the current clock since it was last
    // set; false when it is not running. For timers played by hand on the virtual clock.
    bool PeriodElapsed(int id) const;
    // The id of a timer event of ours, or 0 when the event belongs to another timer. Also 0
    // while the window waits for the line: a tick then is skipped, never nested in the wait.
    int IdOf(const QTimerEvent* event) const;

  private:
    struct Timer {
        QBasicTimer timer;
        uint32_t setAt_ms = 0;
        uint32_t period_ms = 0;
    };
    QObject* m_owner;
    std::map<int, Timer> m_timers;
};
