#pragma once

#include <cstdint>

// A host's commands a second: a bucket of kCommandsPerSecond that refills evenly, on the
// program's clock (platform/Clock.h), so a burst of that many goes through at once and a
// steady client is never refused.
class RateLimiter {
  public:
    RateLimiter();
    // Whether a command may run now; takes its share when it may.
    bool Take();
    // Whether the bucket has refilled to the brim: the host has been quiet for a while.
    bool Full();

  private:
    void Refill();

    double m_tokens;
    uint32_t m_last_ms;
};
