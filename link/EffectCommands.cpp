#include "link/EffectCommands.h"

#include <algorithm>
#include <vector>

#include "link/CollectedList.h"
#include "link/CommandExchange.h"
#include "protocol/AnswerCodes.h"
#include "protocol/EffectArguments.h"

namespace {

// Where the effect info and assignment answers keep their fields (data k).
constexpr int kDataEntryIndex = 0;
constexpr int kInfoValueHigh = 27;
constexpr int kInfoValueLow = 28;
static_assert(kEffectInfoDataBytes == kInfoValueLow + 1);
constexpr int kAssignmentCount = 2;
constexpr int kAssignmentFirst = 3;

EffectRecord* EntryNamedBy(const AnswerBuffer& answer) {
    return EffectAt(AnswerData(answer, kDataEntryIndex));
}

}  // namespace

Status ReadEffectList() {
    std::array<uint8_t, kEffectListBufferSize> collected{};
    ListCollector collector(collected);
    const Status status =
        ReadCollectedList(Command::ReadEffectListFirst, Command::ReadEffectListFollowUp, {},
                          kEffectListCodes, kPatience10s, collector);
    if (ListArrived(status, collector)) {
        StoreEffectList(collector.Bytes());
    }
    return status;
}

Status CreateEffect(const std::string& name, uint8_t& effectNumber) {
    std::vector<uint8_t> arguments{kNewEffect, Byte(EffectOperation::Write)};
    const NameField field = MakeNameField(name);
    arguments.insert(arguments.end(), field.begin(), field.end());
    AnswerBuffer answer{};
    Status status = Exchange(Command::Effect, arguments, kPatience60s, answer);
    if (status == Status::Ok) {
        status = ExpectCode(answer, kCodeEffectCreated);
    }
    if (status == Status::Ok) {
        effectNumber = AnswerData(answer, 0);
    }
    return status;
}

Status SelectEffect() {
    AnswerBuffer answer{};
    return ExchangeExpecting(Command::SelectEffect, {g_currentEffect}, kPatience60s,
                             kCodeEffectSelected, answer);
}

int ApplyEffectInfo(const AnswerBuffer& answer) {
    EffectRecord* effect = EntryNamedBy(answer);
    // A short answer would leave the fields to whatever an earlier answer left in the buffer.
    if (!effect || AnswerDataCount(answer) < kEffectInfoDataBytes) {
        return -1;
    }
    effect->keyframeCount =
        std::min<int32_t>(AnswerData(answer, kEffectInfoKeyframeCount), kMaxKeyframes);
    effect->value = AnswerData(answer, kInfoValueHigh) << 8 | AnswerData(answer, kInfoValueLow);
    return AnswerData(answer, kDataEntryIndex);
}

int ApplyEffectAssignments(const AnswerBuffer& answer) {
    EffectRecord* effect = EntryNamedBy(answer);
    if (!effect) {
        return -1;
    }
    const int carried = std::max(0, AnswerDataCount(answer) - kAssignmentFirst);
    const int count =
        std::min({int{AnswerData(answer, kAssignmentCount)}, carried, kMaxAssignments});
    effect->assignments.fill(0);
    for (int i = 0; i < count; ++i) {
        effect->assignments[i] = AnswerData(answer, kAssignmentFirst + i);
    }
    effect->assignmentCount = count;
    return AnswerData(answer, kDataEntryIndex);
}
