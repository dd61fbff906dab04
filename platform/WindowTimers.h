#pragma once

#include <QBasicTimer>
#include <QObject>
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
    // The id of a timer event of ours, or 0 when the event belongs to another timer.
    int IdOf(const QTimerEvent* event) const;

  private:
    QObject* m_owner;
    std::map<int, QBasicTimer> m_timers;
};
