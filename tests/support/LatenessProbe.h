#pragma once

#include <QTimer>
#include <algorithm>
#include <chrono>
#include <vector>

// A timer of the window's thread, every `tick_ms`: how late each tick comes after the one
// before is how long the window answered nothing. For the benchmarks, on the real clock.
class LatenessProbe {
  public:
    explicit LatenessProbe(int tick_ms = 10) : m_tick_ms(tick_ms) {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Tick(); });
    }
    void Start() {
        m_late_ms.clear();
        m_last = Steady::now();
        m_timer.start(m_tick_ms);
    }
    // The lateness of every tick in milliseconds, with the wait still running when it stops.
    std::vector<double> Stop() {
        Tick();
        m_timer.stop();
        return m_late_ms;
    }

  private:
    using Steady = std::chrono::steady_clock;

    void Tick() {
        const Steady::time_point now = Steady::now();
        const double since_ms = std::chrono::duration<double, std::milli>(now - m_last).count();
        m_late_ms.push_back(std::max(0.0, since_ms - m_tick_ms));
        m_last = now;
    }

    int m_tick_ms;
    QTimer m_timer;
    Steady::time_point m_last;
    std::vector<double> m_late_ms;
};
