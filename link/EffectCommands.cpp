#include "link/EffectCommands.h"

#include <algorithm>
#include <vector>

#include "link/CollectedList.h"
#include "link/CommandExchange.h"

namespace {

constexpr uint8_t kCommandEffectListFirst = 0xC4;
constexpr uint8_t kCommandEffectListFollowUp = 0xC8;
constexpr ListCodes kEffectListCodes{0x47, 0x48};
constexpr uint8_t kEffectNew = 0xFF;
constexpr uint8_t kEffectCreate = 0x01;
constexpr uint8_t kCodeEffectCreated = 0x5C;
constexpr uint8_t kCommandSelectEffect = 0xA5;
constexpr uint8_t kCodeEffectSelected = 0x35;

constexpr uint32_t kEffectTries = kTries10k;

// Where the effect info and assignment answers keep their fields (data k).
constexpr int kDataEntryIndex = 0;
constexpr int kInfoKeyframeCount = 26;
constexpr int kInfoValueHigh = 27;
constexpr int kInfoValueLow = 28;
constexpr int kAssignmentCount = 2;
constexpr int kAssignmentFirst = 3;

EffectRecord* EntryNamedBy(const AnswerBuffer& answer) {
    return EffectAt(AnswerData(answer.data(), kDataEntryIndex));
}

}  // namespace

int ReadEffectList() {
    std::array<uint8_t, kEffectListBufferSize> collected{};
    ListCollector collector(collected);
    const int status = ReadCollectedList({kCommandEffectListFirst}, kCommandEffectListFollowUp,
                                         kEffectListCodes, kEffectTries, collector);
    if (ListArrived(status, collector)) {
        StoreEffectList(collector.Bytes());
    }
    return status;
}

int CreateEffect(const std::string& name, uint8_t& effectNumber) {
    std::vector<uint8_t> payload{kCommandEffect, kEffectNew, kEffectCreate};
    const NameField field = MakeNameField(name);
    payload.insert(payload.end(), field.begin(), field.end());
    AnswerBuffer answer{};
    int status = Exchange(payload, kEffectTries, answer);
    if (status == kStatusOk) {
        status = ExpectCode(answer, kCodeEffectCreated);
    }
    if (status == kStatusOk) {
        effectNumber = AnswerData(answer.data(), 0);
    }
    return status;
}

int SelectEffect() {
    AnswerBuffer answer{};
    return ExchangeExpecting({kCommandSelectEffect, g_currentEffect}, kEffectTries,
                             kCodeEffectSelected, answer);
}

int ApplyEffectInfo(const AnswerBuffer& answer) {
    EffectRecord* effect = EntryNamedBy(answer);
    if (!effect) {
        return -1;
    }
    const uint8_t* bytes = answer.data();
    effect->keyframeCount = std::min<int32_t>(AnswerData(bytes, kInfoKeyframeCount), kMaxKeyframes);
    effect->value = AnswerData(bytes, kInfoValueHigh) << 8 | AnswerData(bytes, kInfoValueLow);
    return AnswerData(bytes, kDataEntryIndex);
}

int ApplyEffectAssignments(const AnswerBuffer& answer) {
    EffectRecord* effect = EntryNamedBy(answer);
    if (!effect) {
        return -1;
    }
    const int carried = std::max(0, AnswerDataCount(answer.data()) - kAssignmentFirst);
    const int count =
        std::min({int{AnswerData(answer.data(), kAssignmentCount)}, carried, kMaxAssignments});
    effect->assignments.fill(0);
    for (int i = 0; i < count; ++i) {
        effect->assignments[i] = AnswerData(answer.data(), kAssignmentFirst + i);
    }
    effect->assignmentCount = count;
    return AnswerData(answer.data(), kDataEntryIndex);
}
