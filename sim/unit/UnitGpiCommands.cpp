// GPI sequences: the list, each sequence's record and pointer, event edits and the status of
// the running sequence.
#include "protocol/AnswerCodes.h"
#include "protocol/GpiArguments.h"
#include "protocol/Lists.h"
#include "sim/unit/StorageLists.h"
#include "sim/unit/UnitCommands.h"
#include "sim/unit/UnitStorage.h"

namespace {

constexpr uint8_t kPointerMoved = 0x00;
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
    return NextListPart(unit, SimList::GpiList, kGpiListCodes.more, kGpiListCodes.last);
}

std::optional<SimAnswer> SequenceAction(SimUnit& unit, const SimRequest& request) {
    const int index = request.Arg(0);
    if (!IsSequence(index)) {
        return SimAnswer{kRefused, {}};
    }
    UnitStorage& storage = unit.Storage();
    GpiSequence& sequence = storage.Sequence(index);
    switch (static_cast<GpiSequenceAction>(request.Arg(1))) {
        case GpiSequenceAction::Read:
            return SimAnswer{kCodeSequenceRecord, storage.SequenceRecord(index)};
        case GpiSequenceAction::Reset:
            sequence.step = 0;
            break;
        case GpiSequenceAction::Step:
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
    if (request.Arg(2) == kGpiEventInsert) {
        if (sequence.events.size() >= kSimMaxEvents) {
            return SimAnswer{kRefused, {}};
        }
        const size_t at = std::min(position, sequence.events.size());
        sequence.events.insert(sequence.events.begin() + static_cast<std::ptrdiff_t>(at),
                               GpiEvent{request.Arg(3), request.Arg(4)});
    } else if (request.Arg(2) == kGpiEventRemove && position < sequence.events.size()) {
        sequence.events.erase(sequence.events.begin() + static_cast<std::ptrdiff_t>(position));
    } else {
        return SimAnswer{kRefused, {}};
    }
    if (sequence.step > sequence.events.size()) {
        sequence.step = static_cast<uint8_t>(sequence.events.size());
    }
    return SimAnswer{kCodeGpiEventSet, {}};
}

std::optional<SimAnswer> GpiStatus(SimUnit& unit, const SimRequest&) {
    UnitStorage& storage = unit.Storage();
    const int running = storage.RunningSequence();
    const auto sequenceNumber = static_cast<uint8_t>(running + 1);
    const uint8_t event = storage.Sequence(running).step;
    SimAnswer answer{kCodeGpiStatus, std::vector<uint8_t>(kGpiStatusSize, 0)};
    answer.data[0] = sequenceNumber;
    answer.data[1] = event;
    answer.data[kCompactStatusSequence] = sequenceNumber;
    answer.data[kCompactStatusEvent] = event;
    return answer;
}

}  // namespace

void RegisterGpiCommands(CommandTable& table) {
    table.Register(Command::ReadGpiEventListFirst, StartGpiList);
    table.Register(Command::ReadGpiEventListFollowUp, NextGpiList);
    table.Register(Command::ReadGpiSequence, SequenceAction);
    table.Register(Command::SetGpiEvent, SetEvent);
    table.Register(Command::ReadGpiStatus, GpiStatus);
}
