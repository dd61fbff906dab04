#include "remote/RateLimiter.h"

#include <algorithm>

#include "platform/Clock.h"
#include "remote/RemoteLimits.h"

RateLimiter::RateLimiter() : m_tokens(kCommandsPerSecond), m_last_ms(CurrentClock().TickCount()) {}

void RateLimiter::Refill() {
    const uint32_t now_ms = CurrentClock().TickCount();
    const uint32_t elapsed_ms = now_ms - m_last_ms;  // wraps with the tick count
    m_last_ms = now_ms;
    m_tokens =
        std::min<double>(kCommandsPerSecond, m_tokens + elapsed_ms * (kCommandsPerSecond / 1000.0));
}

bool RateLimiter::Take() {
    Refill();
    if (m_tokens < 1.0) {
        return false;
    }
    m_tokens -= 1.0;
    return true;
}

bool RateLimiter::Full() {
    Refill();
    return m_tokens >= kCommandsPerSecond;
}
