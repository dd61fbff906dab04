#pragma once

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "link/SerialCom.h"
#include "platform/Prompter.h"
#include "protocol/Commands.h"

// What the measuring programs share: the spread of their samples, and the watch on the
// link's bytes that times a knob's first request from its press.

using SteadyClock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

inline double Ms(SteadyClock::duration d) {
    return std::chrono::duration_cast<Millis>(d).count();
}

// The value below which a share `q` of the samples lie (nearest rank).
inline double Quantile(std::vector<double> samples, double q) {
    if (samples.empty()) {
        return 0.0;
    }
    std::sort(samples.begin(), samples.end());
    const double rank = std::ceil(q * static_cast<double>(samples.size()));
    const size_t index = rank < 1.0 ? 0 : static_cast<size_t>(rank) - 1;
    return samples[std::min(index, samples.size() - 1)];
}

inline void ReportSpread(const char* what, const std::vector<double>& samples_ms,
                         const std::string& note) {
    std::printf("%-40s p50 %8.1f ms  p95 %8.1f ms  max %8.1f ms  (%zu samples%s)\n", what,
                Quantile(samples_ms, 0.5), Quantile(samples_ms, 0.95), Quantile(samples_ms, 1.0),
                samples_ms.size(), note.c_str());
}

// printf into a string, for the notes after a figure.
template <typename... Args>
inline std::string Text(const char* format, Args... args) {
    char text[128];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

// Answers every message box the run brings up, names it, and counts it.
class CountingPrompter : public Prompter {
  public:
    PromptAnswer Show(const std::string& text, const std::string&, PromptIcon,
                      PromptButtons buttons) override {
        std::fprintf(stderr, "message box: %s\n", text.c_str());
        ++boxes;
        return buttons == PromptButtons::YesNo ? PromptAnswer::Yes : PromptAnswer::Ok;
    }
    int boxes = 0;
};

// Picks the knob's request out of the bytes the link sends. The link may call OnByte on the
// thread that carries the exchanges, so all it shares is under the mutex, and it only wakes
// the waiter: it never touches the window.
class KnobRequestWatch : public LinkTracer {
  public:
    void OnByte(TraceDirection direction, uint8_t byte) override {
        if (direction != TraceDirection::Sent) {
            return;
        }
        const SteadyClock::time_point now = SteadyClock::now();
        std::lock_guard lock(m_mutex);
        // A request goes out in one burst; a pause means the last one was cut short.
        if (m_position > 0 && now - m_lastSent > std::chrono::milliseconds(20)) {
            m_position = 0;
        }
        m_lastSent = now;
        if (m_position == 0) {
            m_frameStart = now;
        } else if (m_position == 1) {
            m_frameLength = byte;
        } else if (m_position == 2 && m_frameLength > 0 && IsKnobRequest(byte)) {
            ++m_requests;
            m_lastRequest = m_frameStart;
        }
        if (m_position == 2 && m_frameLength > 0 && m_armed && IsKnobRequest(byte) &&
            m_frameStart >= m_pressed) {
            m_armed = false;
            m_found = true;
            m_firstByte = m_frameStart;
            m_woken.notify_all();
        }
        ++m_position;
        // Address, length, the payload and the checksum.
        if (m_position >= 2 && m_position >= m_frameLength + 3) {
            m_position = 0;
        }
    }

    void Arm(SteadyClock::time_point pressed) {
        std::lock_guard lock(m_mutex);
        m_pressed = pressed;
        m_armed = true;
        m_found = false;
    }

    // From the press to the first byte of the knob's request; nullopt when none came in time.
    std::optional<SteadyClock::duration> WaitForRequest(SteadyClock::duration limit) {
        std::unique_lock lock(m_mutex);
        if (!m_woken.wait_for(lock, limit, [this] { return m_found; })) {
            m_armed = false;
            return std::nullopt;
        }
        return m_firstByte - m_pressed;
    }

    // The knob requests sent so far, and when the last of them started.
    std::pair<int, SteadyClock::time_point> Requests() {
        std::lock_guard lock(m_mutex);
        return {m_requests, m_lastRequest};
    }

  private:
    static bool IsKnobRequest(uint8_t command) {
        return command == Byte(Command::AdjustParameter) || command == Byte(Command::SetParameter);
    }

    std::mutex m_mutex;
    std::condition_variable m_woken;
    int m_position = 0;
    int m_frameLength = 0;
    SteadyClock::time_point m_lastSent;
    SteadyClock::time_point m_frameStart;
    SteadyClock::time_point m_pressed;
    SteadyClock::time_point m_firstByte;
    bool m_armed = false;
    bool m_found = false;
    int m_requests = 0;
    SteadyClock::time_point m_lastRequest;
};
