#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "link/LineCarrier.h"
#include "platform/WindowClock.h"

class QObject;

// While an instance lives, the link's exchanges run on a thread of their own that owns the
// line, one at a time in the order asked, and the window's thread waits for each with its
// event loop turning: the window paints and answers whatever the units do. Input that comes
// meanwhile waits its turn; a presence poll gives the line up to it. Pauses on the window's
// thread turn the event loop too. Work that waits on something other than the units (a
// device server's connection) runs on a second thread, aside, that nobody waits for. The
// program makes one before the panel opens; it ends once the work handed to it is done.
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
    void Post(std::function<void()> work) override;
    void Aside(std::function<void()> work) override;

    static void SetWaitView(WaitView view);

  private:
    // A thread that runs the work handed to it, one piece at a time in order.
    class Worker {
      public:
        explicit Worker(std::function<void()> onThread);
        ~Worker();
        Worker(const Worker&) = delete;
        Worker& operator=(const Worker&) = delete;
        void Push(std::function<void()> work);

      private:
        void Serve();

        std::mutex m_mutex;
        std::condition_variable m_wake;
        std::deque<std::function<void()>> m_work;
        bool m_stopping = false;
        std::thread m_thread;
    };

    // Hands `work` to `worker`, counted until it is done.
    void Hand(Worker& worker, std::function<void()> work);
    void WaitShowingProgress(const LineTask& task, const bool& done);

    WindowClock m_clock;
    std::mutex m_mutex;  // the ends of carried work and the count of work handed out
    std::condition_variable m_changed;
    int m_handedOut = 0;
    Worker m_line;
    Worker m_aside;
};

// Reopens the link's port as ReopenPort does (link/SerialCom.h), without the window waiting
// for it: returns at once, and `done` runs later on the window's thread, once no wait is in
// progress and as long as `context` lives, with whether the port opened; when it did not,
// g_link.LastFailure() says why. Without a LineBeside it all runs, `done` included, before
// ReopenPortAside returns.
void ReopenPortAside(int portNumber, QObject* context, std::function<void(bool opened)> done);
