#include "platform/DescriptorWait.h"

#include <poll.h>

#include <cerrno>

#include "platform/Clock.h"
#include "platform/ReadWake.h"

WaitOutcome WaitForDescriptor(int fd, short events, uint32_t timeout_ms) {
    Clock& clock = CurrentClock();
    const uint32_t start = clock.TickCount();
    for (;;) {
        const uint32_t spent = clock.TickCount() - start;
        const int left = spent >= timeout_ms ? 0 : static_cast<int>(timeout_ms - spent);
        // A raised wake ends a read's wait as a time-out would; the descriptor goes first.
        const int wake = events == POLLIN ? ListenedWakeDescriptor() : -1;
        pollfd pfds[2] = {{fd, events, 0}, {wake, POLLIN, 0}};
        const nfds_t watched = wake >= 0 ? 2 : 1;
        const int ready = ::poll(pfds, watched, left);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return WaitOutcome::Failed;
        }
        if (ready == 0) {
            return WaitOutcome::TimedOut;
        }
        const pollfd& pfd = pfds[0];
        if (pfd.revents & (POLLERR | POLLNVAL)) {
            return WaitOutcome::Failed;
        }
        if (pfd.revents & events) {
            return WaitOutcome::Ready;
        }
        if (pfd.revents == 0) {
            return WaitOutcome::TimedOut;  // the wake alone
        }
        // POLLHUP without an error (Linux adds POLLERR to a hung-up pseudo-terminal, which
        // fails above): nothing will come, so the time-out runs out.
        if (left > 0) {
            clock.Sleep(static_cast<uint32_t>(left));
        }
        return WaitOutcome::TimedOut;
    }
}

IoResult WaitToRead(int fd, uint32_t timeout_ms) {
    switch (WaitForDescriptor(fd, POLLIN, timeout_ms)) {
        case WaitOutcome::Ready:
            return IoResult::Done;
        case WaitOutcome::TimedOut:
            return IoResult::Nothing;
        case WaitOutcome::Failed:
            break;
    }
    return IoResult::Failed;
}
