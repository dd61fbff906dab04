#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "actions/ControlActions.h"
#include "history/RequestChanges.h"
#include "link/SerialCom.h"
#include "protocol/Packet.h"

// Why the panel made a change: the user's control, a snapshot's restore, an undo.
enum class ChangeCause { Control, Restore, Undo };

// One change the panel made to a unit, in the words of the as-run log.
struct UnitChange {
    std::chrono::system_clock::time_point when;
    int unit = 0;
    int number = -1;  // the parameter or function; -1 for file, lock-out, GPI, effect work
    std::string control;
    std::optional<int> oldValue;  // raw; known when the unit was the selected one
    int model = 0;                // the unit's model, known with oldValue
    std::optional<int> newValue;  // raw, as the unit's answer gave it
    std::string oldText;
    std::string newText;
    ActionOrigin origin;
    ChangeCause cause = ChangeCause::Control;
};

// Sees every byte of the link and turns the requests that change a unit into changes. On
// the line's thread it only frames the bytes, notes the old value from the tables (the
// window's thread does not write them while an exchange is on the line) and queues the
// request with its answer; Collect, on the window's thread, decodes them. The turns of one
// knob parameter in a row, less than kBurstGap_ms apart, make one change.
class ChangeRecorder : public LinkTracer {
  public:
    static constexpr uint32_t kBurstGap_ms = 1000;
    // Requests queued and not yet collected; beyond it the oldest go, and the next change
    // collected says how many.
    static constexpr size_t kMaxQueued = 512;

    void OnByte(TraceDirection direction, uint8_t byte) override;

    // Marks the changes the calling work makes (window's thread) for as long as it lives.
    class CauseScope {
      public:
        CauseScope(ChangeRecorder& recorder, ChangeCause cause);
        ~CauseScope();
        CauseScope(const CauseScope&) = delete;
        CauseScope& operator=(const CauseScope&) = delete;

      private:
        ChangeRecorder& m_recorder;
        ChangeCause m_outer;
    };

    // The changes finished since the last call, oldest first. A burst of turns stays open
    // while turns may still join it; `closeBursts` ends it now (an undo, a look at the log).
    std::vector<UnitChange> Collect(bool closeBursts = false);
    // Requests lost to a full queue since the last Collect.
    uint64_t DroppedRequests() const;

  private:
    struct Frame {
        std::array<uint8_t, kMaxPacketSize> bytes{};
        size_t size = 0;
        bool Complete() const;
    };
    struct QueuedRequest {
        std::chrono::system_clock::time_point when;
        uint32_t at_ms = 0;
        uint8_t unitAddress = 0;
        bool selected = false;  // the unit was the selected one when the request went
        RequestChange change;
        std::optional<int> oldValue;
        int model = 0;
        ActionOrigin origin;
        ChangeCause cause = ChangeCause::Control;
        bool answered = false;
        uint8_t answerCode = 0;
        std::vector<uint8_t> answerData;
    };

    // Line's thread.
    void OnRequestFramed();
    void OnAnswerFramed();
    void QueuePending();

    // Window's thread.
    void Decode(QueuedRequest& request, std::vector<UnitChange>& out);
    void CloseBurst(std::vector<UnitChange>& out);

    Frame m_request;
    Frame m_answer;
    std::optional<QueuedRequest> m_pending;  // framed, its answer not yet complete

    mutable std::mutex m_mutex;
    std::deque<QueuedRequest> m_queue;
    uint64_t m_dropped = 0;
    std::atomic<ChangeCause> m_cause{ChangeCause::Control};

    std::optional<UnitChange> m_burst;
    uint32_t m_burstLast_ms = 0;
};
