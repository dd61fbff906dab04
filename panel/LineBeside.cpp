#include "panel/LineBeside.h"

#include <QElapsedTimer>
#include <QTimer>

#include "link/LineDemand.h"
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

LineBeside::LineBeside() {
    SetCurrentClock(&m_clock);
    WindowWait::SetHoldHooks([] { LineDemand::Raise(); }, [] { LineDemand::Clear(); });
    m_thread = std::thread([this] { Serve(); });
    SetLineCarrier(this);
}

LineBeside::~LineBeside() {
    SetLineCarrier(nullptr);
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
    WindowWait::SetHoldHooks({}, {});
    LineDemand::Clear();
    SetCurrentClock(nullptr);
}

void LineBeside::SetWaitView(WaitView view) {
    View() = std::move(view);
}

void LineBeside::Serve() {
    MarkLineThread();
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
        if (m_jobs.empty()) {
            return;
        }
        Job* job = m_jobs.front();
        lock.unlock();
        const Status status = (*job->work)();
        lock.lock();
        m_jobs.pop_front();
        job->status = status;
        job->done = true;
        m_wake.notify_all();
        WindowWait::Wake();
    }
}

Status LineBeside::Carry(const LineTask& task, const std::function<Status()>& work) {
    Job job{&work};
    {
        const std::lock_guard lock(m_mutex);
        m_jobs.push_back(&job);
    }
    m_wake.notify_all();
    if (OnWindowThread()) {
        WaitShowingProgress(task, job);
    } else {
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [&job] { return job.done; });
    }
    const std::lock_guard lock(m_mutex);
    return job.status;
}

void LineBeside::WaitShowingProgress(const LineTask& task, Job& job) {
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
        return job.done;
    });
    if (shown && View()) {
        View()(task, static_cast<uint32_t>(waited.elapsed()), false, true);
    }
}
