#pragma once

#include <QEventLoop>
#include <QTimer>
#include <functional>

// Runs the event loop on the real clock until `done` holds (looked at every `check_ms`) or
// `limit_ms` passed; whether it came to hold. For the end-to-end tests and the benchmarks.
inline bool RunEventsUntil(const std::function<bool()>& done, int limit_ms, int check_ms = 5) {
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done()) {
            loop.quit();
        }
    });
    check.start(check_ms);
    QTimer::singleShot(limit_ms, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}
