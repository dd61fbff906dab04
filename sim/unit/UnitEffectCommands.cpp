// Effects: the list, creation, information, assignments, deletion, keyframe reads and edits,
// and running an effect.
#include <algorithm>

#include "protocol/AnswerCodes.h"
#include "protocol/EffectArguments.h"
#include "protocol/Lists.h"
#include "sim/unit/StorageLists.h"
#include "sim/unit/UnitCommands.h"
#include "sim/unit/UnitStorage.h"

namespace {

constexpr uint8_t kEffectInfo = 0x5B;
constexpr uint8_t kAssignmentList = 0x5A;
constexpr uint8_t kDone = 0x00;
constexpr uint8_t kRefused = 0x5D;
// An index no table holds, so that a master storing by it stores nothing.
constexpr uint8_t kNoEntry = 0xFF;

SimAnswer Refused() {
    return SimAnswer{kRefused, {kNoEntry}};
}

std::optional<SimAnswer> StartEffectList(SimUnit& unit, const SimRequest&) {
    UnitStorage& storage = unit.Storage();
    return StartList(storage, SimList::EffectList, storage.EffectList());
}

std::optional<SimAnswer> NextEffectList(SimUnit& unit, const SimRequest&) {
    return NextListPart(unit, SimList::EffectList, kEffectListCodes.more, kEffectListCodes.last);
}

std::optional<SimAnswer> CreateEffect(UnitStorage& storage, const SimRequest& request) {
    std::vector<StoredEffect>& effects = storage.Effects();
    if (effects.size() >= kSimMaxEffects) {
        return Refused();
    }
    const std::vector<uint8_t> args(request.payload.begin() + 1, request.payload.end());
    StoredEffect effect;
    effect.name = NameFrom(args, 2, kNameBytes);
    effects.push_back(effect);
    return SimAnswer{kCodeEffectCreated, {static_cast<uint8_t>(effects.size() - 1)}};
}

// B0 effect operation: create (FF 01 name), information (02) or delete (00).
std::optional<SimAnswer> EffectRequest(SimUnit& unit, const SimRequest& request) {
    UnitStorage& storage = unit.Storage();
    const uint8_t number = request.Arg(0);
    if (number == kNewEffect && request.Arg(1) == Byte(EffectOperation::Write)) {
        return CreateEffect(storage, request);
    }
    const StoredEffect* effect = storage.Effect(number);
    if (!effect) {
        return Refused();
    }
    if (request.Arg(1) == Byte(EffectOperation::Delete)) {
        // The others move up, so effects stay numbered in list order.
        storage.Effects().erase(storage.Effects().begin() + number);
        return SimAnswer{kDone, {number}};
    }
    // Index, 0, the name, then the keyframe count at data 26 and the value.
    SimAnswer answer{kEffectInfo, {number, 0}};
    AppendName(answer.data, effect->name);
    answer.data.push_back(static_cast<uint8_t>(effect->keyframes.size()));
    AppendWord(answer.data, effect->value);
    return answer;
}

// B1 effect operation: read (02) or write (01 count items).
std::optional<SimAnswer> AssignmentRequest(SimUnit& unit, const SimRequest& request) {
    const uint8_t number = request.Arg(0);
    StoredEffect* effect = unit.Storage().Effect(number);
    if (!effect) {
        return Refused();
    }
    if (request.Arg(1) == Byte(EffectOperation::Write)) {
        // The items follow number, operation and count; a short request carries none.
        const size_t listed = request.ArgCount() > 3 ? request.ArgCount() - 3 : 0;
        const size_t count = std::min<size_t>({request.Arg(2), listed, size_t{kSimMaxAssignments}});
        const auto first = request.payload.end() - static_cast<std::ptrdiff_t>(listed);
        effect->assignments.assign(first, first + static_cast<std::ptrdiff_t>(count));
        return SimAnswer{kDone, {number}};
    }
    SimAnswer answer{kAssignmentList,
                     {number, 0, static_cast<uint8_t>(effect->assignments.size())}};
    answer.data.insert(answer.data.end(), effect->assignments.begin(), effect->assignments.end());
    return answer;
}

SimAnswer KeyframeAnswer(uint8_t number, uint8_t index, const SimKeyframe& keyframe) {
    SimAnswer answer{kCodeKeyframe, {number, index, 0}};
    AppendWord(answer.data, keyframe.time);
    answer.data.insert(answer.data.end(), keyframe.bytes.begin(), keyframe.bytes.end());
    return answer;
}

// B2 effect index operation [time high, time low, bytes].
std::optional<SimAnswer> KeyframeRequest(SimUnit& unit, const SimRequest& request) {
    const uint8_t number = request.Arg(0);
    StoredEffect* effect = unit.Storage().Effect(number);
    if (!effect) {
        return Refused();
    }
    std::vector<SimKeyframe>& keyframes = effect->keyframes;
    const uint8_t index = request.Arg(1);
    const auto operation = static_cast<EffectOperation>(request.Arg(2));
    switch (operation) {
        case EffectOperation::Write: {
            // Insert: the index is the new count; the keyframe goes last.
            if (keyframes.size() >= kSimMaxKeyframes) {
                return Refused();
            }
            const SimKeyframe added{static_cast<uint16_t>(request.Arg(3) << 8 | request.Arg(4)),
                                    {request.Arg(5), request.Arg(6), request.Arg(7)}};
            keyframes.push_back(added);
            effect->currentKeyframe = static_cast<uint8_t>(keyframes.size() - 1);
            return KeyframeAnswer(number, effect->currentKeyframe, added);
        }
        case EffectOperation::Delete:
            if (index >= keyframes.size()) {
                return Refused();
            }
            keyframes.erase(keyframes.begin() + index);
            return SimAnswer{kCodeKeyframeDeleted, {number, index}};
        case EffectOperation::Read:
        case EffectOperation::GoTo:
            if (index >= keyframes.size()) {
                return Refused();
            }
            if (operation == EffectOperation::GoTo) {
                effect->currentKeyframe = index;
            }
            return KeyframeAnswer(number, index, keyframes[index]);
        default:
            return Refused();
    }
}

// The selected effect runs.
std::optional<SimAnswer> SelectEffect(SimUnit& unit, const SimRequest& request) {
    if (!unit.Storage().Effect(request.Arg(0))) {
        return Refused();
    }
    return SimAnswer{kCodeEffectSelected, {request.Arg(0)}};
}

}  // namespace

void RegisterEffectCommands(CommandTable& table) {
    table.Register(Command::ReadEffectListFirst, StartEffectList);
    table.Register(Command::ReadEffectListFollowUp, NextEffectList);
    table.Register(Command::Effect, EffectRequest);
    table.Register(Command::Assignments, AssignmentRequest);
    table.Register(Command::Keyframe, KeyframeRequest);
    table.Register(Command::SelectEffect, SelectEffect);
}
