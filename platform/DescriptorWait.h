#pragma once

#include <cstdint>

#include "platform/SerialDevice.h"

enum class WaitOutcome {
    Ready,     // the descriptor can be read or written
    TimedOut,  // nothing within the time-out (a hang-up lets the time-out run out)
    Failed,    // error on the descriptor
};

// Waits up to `timeout_ms` on the current clock for `events` (POLLIN or POLLOUT) on `fd`,
// retrying after signals with the time that is left.
WaitOutcome WaitForDescriptor(int fd, short events, uint32_t timeout_ms);

// A read's wait: Done when `fd` can be read, Nothing after `timeout_ms`, Failed on an error.
IoResult WaitToRead(int fd, uint32_t timeout_ms);
