#pragma once

#include <cstdint>
#include <functional>

class QObject;
class QWidget;

// The window's side of a wait, and the one queue of work the window keeps. While the line
// works or a pause runs, the window's thread turns its event loop, so the window paints,
// moves and answers the desktop, but input that could start more work (mouse, wheel, keys, a
// close) waits in the queue, and so does work asked for meanwhile (WhenIdle). Once the
// outermost wait is over the queue runs in the order things came, one item at a time: an
// item that starts a wait of its own holds the rest until that wait is over. So nothing
// re-enters the line, nothing the user did is lost, and each item meets the panel as the
// items before it left it.
//
// Input belongs to the window it came to: input held while a dialog waits is the dialog's,
// and runs while that dialog is on top. Queued work belongs to the home window (the panel):
// it never runs while a dialog or box is over it, and waits until the dialog closes.
class WindowWait {
  public:
    // Turns the event loop until `done()` holds; Wake() from any thread makes it look again.
    static void Until(const std::function<bool()>& done);
    // Turns the event loop for `ms` milliseconds of the system clock.
    static void For(uint32_t ms);
    // Makes the waiting loop look at its condition again (any thread).
    static void Wake();

    // Queues `work` to run on the window's thread in its turn, behind whatever input and work
    // came before it, while `context` lives. `tag` names the item for TailTag. False when the
    // queue is full: the work is not queued and the caller says so to whoever asked.
    static bool WhenIdle(QObject* context, std::function<void()> work, const void* tag = nullptr);
    // The tag of the queue's last item while it has not started; null otherwise. Work that
    // can join the last item (a knob's turns) looks here.
    static const void* TailTag();
    // The window whose queued work may run: null, or the panel when it runs modal.
    static void SetHome(QWidget* home);

    // How many waits the window's thread is inside; timers that would use the line skip
    // their tick while it is not 0.
    static int Depth();
    // Input and work waiting in the queue.
    static int HeldCount();
    // The most items the queue keeps. Presses, releases and keys are kept beyond it; moves
    // merge; work is refused.
    static constexpr int kMostQueued = 256;

    // Called when input or work is queued behind a wait (the user wants the line), and once
    // the queue is empty again.
    static void SetHoldHooks(std::function<void()> held, std::function<void()> released);
};

// Whether the calling thread is the window's (the application's main thread).
bool OnWindowThread();
