#include "link/KeyframeCommands.h"

#include <vector>

#include "link/CommandExchange.h"

namespace {

constexpr uint32_t kKeyframeTries = kTries10k;
constexpr size_t kMaxCommandData = 254;

constexpr int kDataTimeHigh = 3;
constexpr int kDataTimeLow = 4;
constexpr int kDataFirstByte = 5;

}  // namespace

int ReadKeyframe(uint8_t effectNumber, uint8_t keyframeIndex, AnswerBuffer& answer) {
    return ExchangeExpecting({kCommandKeyframe, effectNumber, keyframeIndex, kKeyframeRead},
                             kKeyframeTries, kCodeKeyframe, answer);
}

int SendCommand(uint8_t command, uint8_t expectedCode, std::span<const uint8_t> data,
                AnswerBuffer& answer) {
    if (data.size() > kMaxCommandData) {
        return kStatusWriteFailed;
    }
    std::vector<uint8_t> payload{command};
    payload.insert(payload.end(), data.begin(), data.end());
    const int status = Exchange(payload, kKeyframeTries, answer);
    return status != kStatusOk ? status : ExpectCode(answer, expectedCode);
}

Keyframe KeyframeFromAnswer(const AnswerBuffer& answer) {
    const uint8_t* bytes = answer.data();
    Keyframe keyframe;
    keyframe.time = AnswerData(bytes, kDataTimeHigh) << 8 | AnswerData(bytes, kDataTimeLow);
    for (int i = 0; i < 3; ++i) {
        keyframe.bytes[i] = AnswerData(bytes, kDataFirstByte + i);
    }
    return keyframe;
}

bool StoreKeyframe(int effectIndex, int keyframeIndex, const AnswerBuffer& answer) {
    EffectRecord* effect = EffectAt(effectIndex);
    if (!effect || keyframeIndex < 0 || keyframeIndex >= kMaxKeyframes) {
        return false;
    }
    effect->keyframes[keyframeIndex] = KeyframeFromAnswer(answer);
    return true;
}
