#include "remote/PushPacer.h"

#include <algorithm>

#include "remote/RemoteLimits.h"

PushPacer::PushPacer(std::function<void()> push, QObject* parent)
    : QObject(parent), m_push(std::move(push)) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &PushPacer::Push);
}

void PushPacer::Changed() {
    if (m_timer.isActive()) {
        return;
    }
    const qint64 since_ms = m_sinceLast.isValid() ? m_sinceLast.elapsed() : kPushInterval_ms;
    m_timer.start(static_cast<int>(std::max<qint64>(0, kPushInterval_ms - since_ms)));
}

void PushPacer::Push() {
    m_sinceLast.start();
    m_push();
}
