#include "link/DialogRequests.h"

#include <vector>

#include "link/CommandExchange.h"
#include "link/EffectCommands.h"
#include "link/GpiCommands.h"
#include "link/KeyframeCommands.h"
#include "link/SetOnAirLockout.h"

namespace {

constexpr uint8_t kCommandAssignments = 0xB1;
constexpr uint8_t kEffectDelete = 0x00;
constexpr uint8_t kAssignmentWrite = 0x01;
constexpr uint8_t kEffectRead = 0x02;
constexpr size_t kMaxAssignmentItems = 251;

constexpr uint32_t kGpiEditTries = kTries100k;
constexpr uint32_t kDialogTries = kTries10k;

int GpiEdit(std::initializer_list<uint8_t> payload) {
    AnswerBuffer answer{};
    return Exchange(payload, kGpiEditTries, answer);
}

}  // namespace

int RemoveFirstGpiEvent(uint8_t gpi) {
    return GpiEdit({kCommandSetGpiEvent, gpi, 0x00, kGpiEventRemove, kGpiEventKindFile, 0x00});
}

int AppendGpiEvent(uint8_t gpi, uint8_t eventCount, uint8_t fileId) {
    return GpiEdit(
        {kCommandSetGpiEvent, gpi, eventCount, kGpiEventInsert, kGpiEventKindFile, fileId});
}

int LockControl(uint8_t number, uint8_t state) {
    const int status = SetOnAirLockout(number, state);
    return status == kStatusOk ? status : SetOnAirLockout(number, state);
}

int RequestEffectInfo(uint8_t effectNumber, AnswerBuffer& answer) {
    return Exchange({kCommandEffect, effectNumber, kEffectRead}, kDialogTries, answer);
}

int RequestEffectDelete(uint8_t effectNumber, AnswerBuffer& answer) {
    return Exchange({kCommandEffect, effectNumber, kEffectDelete}, kDialogTries, answer);
}

int RequestAssignments(uint8_t effectNumber, AnswerBuffer& answer) {
    return Exchange({kCommandAssignments, effectNumber, kEffectRead}, kDialogTries, answer);
}

int WriteAssignments(uint8_t effectNumber, std::span<const uint8_t> items, AnswerBuffer& answer) {
    if (items.size() > kMaxAssignmentItems) {
        return kStatusWriteFailed;
    }
    std::vector<uint8_t> payload{kCommandAssignments, effectNumber, kAssignmentWrite,
                                 static_cast<uint8_t>(items.size())};
    payload.insert(payload.end(), items.begin(), items.end());
    return Exchange(payload, kDialogTries, answer);
}

int RequestKeyframe(uint8_t effectNumber, uint8_t keyframeIndex, AnswerBuffer& answer) {
    return Exchange({kCommandKeyframe, effectNumber, keyframeIndex, kKeyframeRead}, kDialogTries,
                    answer);
}
