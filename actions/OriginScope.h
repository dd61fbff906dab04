#pragma once

#include <mutex>
#include <utility>

#include "actions/ControlActions.h"

// Who asked for the work the panel does now. Whoever starts work says so for its duration;
// the as-run log reads it when a request goes on the line, on the line's thread, so the
// origin is kept behind a lock. Without a scope the work is the window's own input's: the
// mouse's, or the keyboard's after a key (SetWindowInput).
class OriginScope {
  public:
    explicit OriginScope(ActionOrigin origin) {
        const std::lock_guard lock(Mutex());
        m_outer = std::exchange(Slot(), std::move(origin));
        ++Depth();
    }
    ~OriginScope() {
        const std::lock_guard lock(Mutex());
        Slot() = std::move(m_outer);
        --Depth();
    }
    OriginScope(const OriginScope&) = delete;
    OriginScope& operator=(const OriginScope&) = delete;

    static ActionOrigin Current() {
        const std::lock_guard lock(Mutex());
        return Depth() > 0 ? Slot() : ActionOrigin{WindowInput(), {}};
    }
    // The window's own input, the mouse's or the keyboard's, whatever scope is open.
    static ActionOrigin WindowOrigin() {
        const std::lock_guard lock(Mutex());
        return {WindowInput(), {}};
    }
    // The kind of the window's last input, for work that no scope claims.
    static void SetWindowInput(ActionSource source) {
        const std::lock_guard lock(Mutex());
        WindowInput() = source;
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
    static int& Depth() {
        static int depth = 0;
        return depth;
    }
    static ActionSource& WindowInput() {
        static ActionSource source = ActionSource::Mouse;
        return source;
    }

    ActionOrigin m_outer;
};
