#include "link/KeyframeCommands.h"

#include "link/CommandExchange.h"
#include "protocol/AnswerCodes.h"
#include "protocol/EffectArguments.h"

namespace {

constexpr int kDataTimeHigh = 3;
constexpr int kDataTimeLow = 4;
constexpr int kDataFirstByte = 5;
static_assert(kKeyframeDataBytes == kDataFirstByte + 3);

}  // namespace

Status ReadKeyframe(uint8_t effectNumber, uint8_t keyframeIndex, AnswerBuffer& answer) {
    return ExchangeExpecting(Command::Keyframe,
                             {effectNumber, keyframeIndex, Byte(EffectOperation::Read)},
                             kPatience10s, kCodeKeyframe, answer);
}

Status SendCommand(Command command, uint8_t expectedCode, std::span<const uint8_t> data,
                   AnswerBuffer& answer) {
    const Status status = Exchange(command, data, kPatience60s, answer);
    return status != Status::Ok ? status : ExpectCode(answer, expectedCode);
}

Keyframe KeyframeFromAnswer(const AnswerBuffer& answer) {
    Keyframe keyframe;
    keyframe.time = AnswerData(answer, kDataTimeHigh) << 8 | AnswerData(answer, kDataTimeLow);
    for (int i = 0; i < 3; ++i) {
        keyframe.bytes[i] = AnswerData(answer, kDataFirstByte + i);
    }
    return keyframe;
}

bool StoreKeyframe(int effectIndex, int keyframeIndex, const AnswerBuffer& answer) {
    EffectRecord* effect = EffectAt(effectIndex);
    if (!effect || keyframeIndex < 0 || keyframeIndex >= kMaxKeyframes ||
        AnswerDataCount(answer) < kKeyframeDataBytes) {
        return false;
    }
    effect->keyframes[keyframeIndex] = KeyframeFromAnswer(answer);
    return true;
}
