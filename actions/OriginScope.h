#pragma once

#include <mutex>
#include <utility>

#include "actions/ControlActions.h"

// Who asked for the work the panel does now. Whoever starts work says so for its duration;
// the as-run log reads it when a request goes on the line, on the line's thread, so the
// origin is kept behind a lock. Without a scope the work is the mouse's.
class OriginScope {
  public:
    explicit OriginScope(ActionOrigin origin) {
        const std::lock_guard lock(Mutex());
        m_outer = std::exchange(Slot(), std::move(origin));
    }
    ~OriginScope() {
        const std::lock_guard lock(Mutex());
        Slot() = std::move(m_outer);
    }
    OriginScope(const OriginScope&) = delete;
    OriginScope& operator=(const OriginScope&) = delete;

    static ActionOrigin Current() {
        const std::lock_guard lock(Mutex());
        return Slot();
    }

  private:
    static std::mutex& Mutex() {
        static std::mutex mutex;
        return mutex;
    }
    static ActionOrigin& Slot() {
        static ActionOrigin origin;
        return origin;
    }

    ActionOrigin m_outer;
};
