#include "history/ChangeRecorder.h"

#include <utility>

#include "actions/OriginScope.h"
#include "history/ValueText.h"
#include "model/PanelModel.h"
#include "platform/Clock.h"
#include "protocol/AnswerCodes.h"
#include "protocol/ParameterArguments.h"
#include "protocol/StatusFlags.h"

namespace {

// The value the tables hold for `number` of the selected unit.
int TableValue(int number) {
    return number <= kLastKnobParameter ? g_paramTable[number].value
                                        : g_functionTable[number - kFirstFunctionNumber].value;
}

}  // namespace

bool ChangeRecorder::Frame::Complete() const {
    return size >= 2 && size == static_cast<size_t>(bytes[1]) + 3;
}

ChangeRecorder::CauseScope::CauseScope(ChangeRecorder& recorder, ChangeCause cause)
    : m_recorder(recorder), m_outer(recorder.m_cause.exchange(cause)) {}

ChangeRecorder::CauseScope::~CauseScope() {
    m_recorder.m_cause.store(m_outer);
}

void ChangeRecorder::OnByte(TraceDirection direction, uint8_t byte) {
    Frame& frame = direction == TraceDirection::Sent ? m_request : m_answer;
    // A frame the other way ends one cut short: an answer that stopped, a request not
    // written whole.
    if (direction == TraceDirection::Sent) {
        m_answer.size = 0;
    } else if (m_request.size > 0) {
        m_request.size = 0;
    }
    if (frame.size < frame.bytes.size()) {
        frame.bytes[frame.size++] = byte;
    }
    if (!frame.Complete()) {
        return;
    }
    if (direction == TraceDirection::Sent) {
        OnRequestFramed();
    } else {
        OnAnswerFramed();
    }
    frame.size = 0;
}

void ChangeRecorder::OnRequestFramed() {
    QueuePending();
    const std::span<const uint8_t> payload(m_request.bytes.data() + 2, m_request.bytes[1]);
    std::optional<RequestChange> change = DecodeRequest(payload);
    if (!change) {
        return;
    }
    QueuedRequest request;
    request.when = std::chrono::system_clock::now();
    request.at_ms = CurrentClock().TickCount();
    request.unitAddress = static_cast<uint8_t>(m_request.bytes[0] & ~kRequestFlag);
    request.selected = request.unitAddress == g_currentUnitAddress;
    if (change->number >= 0 && request.selected) {
        request.oldValue = TableValue(change->number);
        request.model = g_unitStatus[kStatusByteModel];
    }
    request.change = std::move(*change);
    request.origin = OriginScope::Current();
    request.cause = m_cause.load();
    m_pending = std::move(request);
}

void ChangeRecorder::OnAnswerFramed() {
    if (!m_pending) {
        return;
    }
    m_pending->answered = true;
    m_pending->answerCode = m_answer.bytes[kAnswerCode];
    const size_t dataCount =
        m_answer.bytes[kAnswerLength] > 0 ? m_answer.bytes[kAnswerLength] - 1 : 0;
    m_pending->answerData.assign(
        m_answer.bytes.begin() + kAnswerData,
        m_answer.bytes.begin() + kAnswerData + static_cast<std::ptrdiff_t>(dataCount));
    QueuePending();
}

void ChangeRecorder::QueuePending() {
    if (!m_pending) {
        return;
    }
    const std::lock_guard lock(m_mutex);
    if (m_queue.size() >= kMaxQueued) {
        m_queue.pop_front();
        ++m_dropped;
    }
    m_queue.push_back(std::move(*m_pending));
    m_pending.reset();
}

uint64_t ChangeRecorder::DroppedRequests() const {
    const std::lock_guard lock(m_mutex);
    return m_dropped;
}

std::vector<UnitChange> ChangeRecorder::Collect(bool closeBursts) {
    std::deque<QueuedRequest> queued;
    uint64_t dropped = 0;
    {
        const std::lock_guard lock(m_mutex);
        queued.swap(m_queue);
        dropped = std::exchange(m_dropped, 0);
    }
    std::vector<UnitChange> changes;
    if (dropped > 0) {
        UnitChange note;
        note.when = std::chrono::system_clock::now();
        note.control = std::to_string(dropped) + " changes not recorded (the recorder fell behind)";
        changes.push_back(std::move(note));
    }
    for (QueuedRequest& request : queued) {
        Decode(request, changes);
    }
    if (closeBursts || (m_burst && CurrentClock().TickCount() - m_burstLast_ms >= kBurstGap_ms)) {
        CloseBurst(changes);
    }
    return changes;
}

void ChangeRecorder::CloseBurst(std::vector<UnitChange>& out) {
    if (m_burst) {
        out.push_back(std::move(*m_burst));
        m_burst.reset();
    }
}

void ChangeRecorder::Decode(QueuedRequest& request, std::vector<UnitChange>& out) {
    const RequestChange& change = request.change;
    const bool accepted = request.answered && (change.kind == ChangeKind::Other ||
                                               request.answerCode == kCodeParameterUpdates);
    const int unit = UnitOfAddress(request.unitAddress);
    // The tables describe the request's unit only while it is still the selected one.
    const bool selected = request.selected && request.unitAddress == g_currentUnitAddress;
    if (change.kind == ChangeKind::Turn && accepted && m_burst && m_burst->unit == unit &&
        m_burst->number == change.number && m_burst->origin.source == request.origin.source &&
        m_burst->origin.client == request.origin.client &&
        request.at_ms - m_burstLast_ms < kBurstGap_ms) {
        // Another turn of the same knob parameter: the burst's new value moves on.
        std::optional<int> value = UpdatedValue(request.answerData, change.number);
        if (!value && m_burst->newValue) {
            value = *m_burst->newValue + change.value;
        }
        if (value) {
            m_burst->newValue = *value;
            m_burst->newText = selected ? ValueText(change.number, *value) : std::to_string(*value);
        }
        m_burstLast_ms = request.at_ms;
        return;
    }
    CloseBurst(out);
    UnitChange result;
    result.when = request.when;
    result.unit = unit;
    result.number = change.number;
    result.origin = std::move(request.origin);
    result.cause = request.cause;
    if (change.kind == ChangeKind::Other) {
        result.control = change.control;
        result.newText = change.arguments;
    } else {
        result.control =
            selected ? ParameterName(change.number) : "parameter " + std::to_string(change.number);
        result.oldValue = request.oldValue;
        result.model = request.model;
        if (request.oldValue) {
            result.oldText = selected ? ValueText(change.number, *request.oldValue)
                                      : std::to_string(*request.oldValue);
        }
        if (accepted) {
            result.newValue = UpdatedValue(request.answerData, change.number);
            // An answer whose list leaves the value out took what was asked for.
            if (!result.newValue && change.kind == ChangeKind::SetValue) {
                result.newValue = change.value;
            } else if (!result.newValue && request.oldValue) {
                result.newValue = *request.oldValue + change.value;
            }
        }
        if (result.newValue) {
            result.newText = selected ? ValueText(change.number, *result.newValue)
                                      : std::to_string(*result.newValue);
        }
    }
    if (!request.answered) {
        result.newText += result.newText.empty() ? "no answer" : " (no answer)";
    } else if (!accepted) {
        result.newText += result.newText.empty() ? "refused" : " (refused)";
    }
    if (change.kind == ChangeKind::Turn && accepted) {
        m_burst = std::move(result);
        m_burstLast_ms = request.at_ms;
        return;
    }
    out.push_back(std::move(result));
}
