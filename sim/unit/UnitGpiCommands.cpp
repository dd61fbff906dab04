// GPI sequences: the list, each sequence's record and pointer, event edits and the status of
// the running sequence.
#include "sim/unit/StorageLists.h"
#include "sim/unit/UnitCommands.h"
#include "sim/unit/UnitStorage.h"

namespace {

constexpr uint8_t kStartGpiList = 0xBC;
constexpr uint8_t kNextGpiList = 0xBD;
constexpr uint8_t kGpiListMore = 0x49;
constexpr uint8_t kGpiListLast = 0x4A;

constexpr uint8_t kSequence = 0xB3;
constexpr uint8_t kSequenceRead = 2;
constexpr uint8_t kSequenceReset = 3;
constexpr uint8_t kSequenceStep = 4;
constexpr uint8_t kSequenceRecord = 0x5F;
constexpr uint8_t kPointerMoved = 0x00;

constexpr uint8_t kSetEvent = 0xB4;
constexpr uint8_t kEventInsert = 1;
constexpr uint8_t kEventRemove = 0;
constexpr uint8_t kEventSet = 0x1D;

constexpr uint8_t kGpiStatus = 0x9F;
constexpr uint8_t kGpiStatusAnswer = 0x0D;
// The compact family repeats the running sequence and event further on.
constexpr size_t kGpiStatusSize = 13;
constexpr size_t kCompactStatusSequence = 11;
constexpr size_t kCompactStatusEvent = 12;

constexpr uint8_t kRefused = 0x1C;

bool IsSequence(int index) {
    return index >= 0 && index < kSimGpiSequences;
}

std::optional<SimAnswer> StartGpiList(SimUnit& unit, const SimRequest&) {
    UnitStorage& storage = unit.Storage();
    return StartList(storage, SimList::GpiList, storage.GpiList());
}

std::optional<SimAnswer> NextGpiList(SimUnit& unit, const SimRequest&) {
    return NextListPart(unit, SimList::GpiList, kGpiListMore, kGpiListLast);
}

std::optional<SimAnswer> SequenceAction(SimUnit& unit, const SimRequest& request) {
    const int index = request.Arg(0);
    if (!IsSequence(index)) {
        return SimAnswer{kRefused, {}};
    }
    UnitStorage& storage = unit.Storage();
    GpiSequence& sequence = storage.Sequence(index);
    switch (request.Arg(1)) {
        case kSequenceRead:
            return SimAnswer{kSequenceRecord, storage.SequenceRecord(index)};
        case kSequenceReset:
            sequence.step = 0;
            break;
        case kSequenceStep:
            // Past the last event the pointer comes round to the first.
            if (!sequence.events.empty()) {
                sequence.step = static_cast<uint8_t>(
                    sequence.step >= sequence.events.size() ? 1 : sequence.step + 1);
            }
            storage.SetRunningSequence(index);
            break;
        default:
            return SimAnswer{kRefused, {}};
    }
    return SimAnswer{kPointerMoved, {}};
}

// gpi, position, insert or remove, kind, file.
std::optional<SimAnswer> SetEvent(SimUnit& unit, const SimRequest& request) {
    const int index = request.Arg(0);
    if (!IsSequence(index) || request.ArgCount() < 5) {
        return SimAnswer{kRefused, {}};
    }
    GpiSequence& sequence = unit.Storage().Sequence(index);
    const size_t position = request.Arg(1);
    if (request.Arg(2) == kEventInsert) {
        if (sequence.events.size() >= kSimMaxEvents) {
            return SimAnswer{kRefused, {}};
        }
        const size_t at = std::min(position, sequence.events.size());
        sequence.events.insert(sequence.events.begin() + static_cast<std::ptrdiff_t>(at),
                               GpiEvent{request.Arg(3), request.Arg(4)});
    } else if (request.Arg(2) == kEventRemove && position < sequence.events.size()) {
        sequence.events.erase(sequence.events.begin() + static_cast<std::ptrdiff_t>(position));
    } else {
        return SimAnswer{kRefused, {}};
    }
    if (sequence.step > sequence.events.size()) {
        sequence.step = static_cast<uint8_t>(sequence.events.size());
    }
    return SimAnswer{kEventSet, {}};
}

std::optional<SimAnswer> GpiStatus(SimUnit& unit, const SimRequest&) {
    UnitStorage& storage = unit.Storage();
    const int running = storage.RunningSequence();
    const auto sequenceNumber = static_cast<uint8_t>(running + 1);
    const uint8_t event = storage.Sequence(running).step;
    SimAnswer answer{kGpiStatusAnswer, std::vector<uint8_t>(kGpiStatusSize, 0)};
    answer.data[0] = sequenceNumber;
    answer.data[1] = event;
    answer.data[kCompactStatusSequence] = sequenceNumber;
    answer.data[kCompactStatusEvent] = event;
    return answer;
}

}  // namespace

void RegisterGpiCommands(CommandTable& table) {
    table.Register(kStartGpiList, StartGpiList);
    table.Register(kNextGpiList, NextGpiList);
    table.Register(kSequence, SequenceAction);
    table.Register(kSetEvent, SetEvent);
    table.Register(kGpiStatus, GpiStatus);
}
