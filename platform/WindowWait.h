#pragma once

#include <cstdint>
#include <functional>

class QObject;

// The window's side of a wait. While the line works or a pause runs, the window's thread
// turns its event loop, so the window paints, moves and answers the desktop, but input that
// could start more work (mouse, wheel, keys, a close) is held back and handed to the window
// again, in its order, once the outermost wait is over. So nothing re-enters the line and
// nothing the user did is lost.
class WindowWait {
  public:
    // Turns the event loop until `done()` holds; Wake() from any thread makes it look again.
    static void Until(const std::function<bool()>& done);
    // Turns the event loop for `ms` milliseconds of the system clock.
    static void For(uint32_t ms);
    // Makes the waiting loop look at its condition again (any thread).
    static void Wake();
    // Runs `work` on the window's thread once no wait is in progress, as long as `context`
    // lives: queued work must not start line work inside another piece's wait.
    static void WhenIdle(QObject* context, std::function<void()> work);

    // How many waits the window's thread is inside; timers that would use the line skip
    // their tick while it is not 0.
    static int Depth();
    // Input held back during a wait so far.
    static int HeldCount();

    // Called when a press or a key is held back (the user wants the line), and when held
    // input has been handed back.
    static void SetHoldHooks(std::function<void()> held, std::function<void()> released);
};

// Whether the calling thread is the window's (the application's main thread).
bool OnWindowThread();
