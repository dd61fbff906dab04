#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "link/LineCarrier.h"
#include "platform/WindowClock.h"

// While an instance lives, the link's exchanges run on a thread of their own that owns the
// line, one at a time in the order asked, and the window's thread waits for each with its
// event loop turning: the window paints and answers whatever the units do. Input that comes
// meanwhile waits its turn; a presence poll gives the line up to it. Pauses on the window's
// thread turn the event loop too. The program makes one before the panel opens.
class LineBeside final : public LineCarrier {
  public:
    // What a wait longer than a moment tells the user: the task, how long it has waited, and
    // whether input waits behind it; called again as the wait goes on, then with done set.
    using WaitView =
        std::function<void(const LineTask& task, uint32_t waited_ms, bool inputWaits, bool done)>;

    LineBeside();
    ~LineBeside() override;
    LineBeside(const LineBeside&) = delete;
    LineBeside& operator=(const LineBeside&) = delete;

    Status Carry(const LineTask& task, const std::function<Status()>& work) override;

    static void SetWaitView(WaitView view);

  private:
    struct Job {
        const std::function<Status()>* work;
        Status status = Status::Ok;
        bool done = false;
    };

    void Serve();
    void WaitShowingProgress(const LineTask& task, Job& job);

    WindowClock m_clock;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job*> m_jobs;
    bool m_stopping = false;
    std::thread m_thread;
};
