#include "console/LineBeside.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include "link/LineDemand.h"
#include "link/SerialCom.h"
#include "platform/WindowWait.h"

namespace {

// A wait shorter than this goes unremarked; longer ones say what they wait for, and again
// at this interval.
constexpr int kWaitShownAfter_ms = 400;
constexpr int kWaitShownEvery_ms = 250;

LineBeside::WaitView& View() {
    static LineBeside::WaitView view;
    return view;
}

}  // namespace

LineBeside::Worker::Worker(std::function<void()> onThread)
    : m_thread([this, onThread = std::move(onThread)] {
          onThread();
          Serve();
      }) {}

LineBeside::Worker::~Worker() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void LineBeside::Worker::Push(std::function<void()> work) {
    {
        const std::lock_guard lock(m_mutex);
        m_work.push_back(std::move(work));
    }
    m_wake.notify_all();
}

void LineBeside::Worker::Serve() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_work.empty(); });
        if (m_work.empty()) {
            return;
        }
        std::function<void()> work = std::move(m_work.front());
        m_work.pop_front();
        lock.unlock();
        work();
        lock.lock();
    }
}

LineBeside::LineBeside() : m_line([] { MarkLineThread(); }), m_aside([] {}) {
    SetCurrentClock(&m_clock);
    WindowWait::SetHoldHooks([] { LineDemand::Raise(); }, [] { LineDemand::Clear(); });
    SetLineCarrier(this);
}

// Work handed out hands on more (a device opened aside goes to the line): all of it ends
// before the threads do.
LineBeside::~LineBeside() {
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_handedOut == 0; });
    }
    SetLineCarrier(nullptr);
    WindowWait::SetHoldHooks({}, {});
    LineDemand::Clear();
    SetCurrentClock(nullptr);
}

void LineBeside::SetWaitView(WaitView view) {
    View() = std::move(view);
}

void LineBeside::Hand(Worker& worker, std::function<void()> work) {
    {
        const std::lock_guard lock(m_mutex);
        ++m_handedOut;
    }
    worker.Push([this, work = std::move(work)] {
        work();
        {
            const std::lock_guard lock(m_mutex);
            --m_handedOut;
        }
        m_changed.notify_all();
        WindowWait::Wake();
    });
}

Status LineBeside::Carry(const LineTask& task, const std::function<Status()>& work) {
    Status status = Status::Ok;
    bool done = false;
    Hand(m_line, [&] {
        const Status result = work();
        const std::lock_guard lock(m_mutex);
        status = result;
        done = true;
    });
    if (OnWindowThread()) {
        WaitShowingProgress(task, done);
    } else {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&done] { return done; });
    }
    const std::lock_guard lock(m_mutex);
    return status;
}

void LineBeside::Post(std::function<void()> work) {
    Hand(m_line, std::move(work));
}

void LineBeside::Aside(std::function<void()> work) {
    Hand(m_aside, std::move(work));
}

void LineBeside::WaitShowingProgress(const LineTask& task, const bool& done) {
    QElapsedTimer waited;
    waited.start();
    bool shown = false;
    QTimer progress;
    progress.setInterval(kWaitShownEvery_ms);
    QObject::connect(&progress, &QTimer::timeout, [&] {
        if (waited.elapsed() >= kWaitShownAfter_ms && View()) {
            shown = true;
            View()(task, static_cast<uint32_t>(waited.elapsed()), WindowWait::HeldCount() > 0,
                   false);
        }
    });
    progress.start();
    WindowWait::Until([&] {
        const std::lock_guard lock(m_mutex);
        return done;
    });
    if (shown && View()) {
        View()(task, static_cast<uint32_t>(waited.elapsed()), false, true);
    }
}

void ReopenPortAside(int portNumber, QObject* context, std::function<void(bool opened)> done) {
    StartReopen(portNumber, [context = QPointer<QObject>(context),
                             done = std::move(done)](const ReopenResult& result) {
        if (OnWindowThread()) {
            if (context) {
                done(result.opened);
            }
            return;
        }
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [context, done, opened = result.opened] {
                if (context) {
                    WindowWait::WhenIdle(context.data(), [done, opened] { done(opened); });
                }
            },
            Qt::QueuedConnection);
    });
}
