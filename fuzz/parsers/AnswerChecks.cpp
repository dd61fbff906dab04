// The decoders of single answers: parameter update lists and value reads, and the effect
// dialog's information, assignment and keyframe answers.
#include <algorithm>
#include <cstring>

#include "fuzz/parsers/Guarded.h"
#include "fuzz/parsers/ParserChecks.h"
#include "link/EffectCommands.h"
#include "link/KeyframeCommands.h"
#include "link/ParameterCommands.h"
#include "model/PanelModel.h"

namespace {

// The input as one received answer: buffer bytes from offset 0, the rest zero.
Guarded<AnswerBuffer> AnswerOf(std::span<const uint8_t> input) {
    Guarded<AnswerBuffer> answer;
    std::copy_n(input.begin(), std::min(input.size(), answer.buffer.size()), answer.buffer.begin());
    return answer;
}

bool SameBytes(const EffectRecord& a, const EffectRecord& b) {
    return std::memcmp(&a, &b, sizeof(EffectRecord)) == 0;
}

}  // namespace

bool CheckParameterAnswers(std::span<const uint8_t> input) {
    // The empty knob position and the keyframe functions hold values no unit sends.
    constexpr int16_t kPanelOwn = 0x5A5A;
    g_paramTable[kEmptyKnobParam].value = kPanelOwn;
    for (int offset = 128; offset < kFunctionCount; ++offset) {
        g_functionTable[offset].value = kPanelOwn;
    }
    const Guarded<AnswerBuffer> answer = AnswerOf(input);
    ApplyParameterUpdates(answer.buffer);
    StoreParameterValues(answer.buffer);
    StoreRemainingValues(answer.buffer);
    for (int offset = 128; offset < kFunctionCount; ++offset) {
        if (g_functionTable[offset].value != kPanelOwn) {
            return false;
        }
    }
    return answer.Intact() && g_paramTable[kEmptyKnobParam].value == kPanelOwn;
}

// The answer names its entry in data 0; every other entry stays as it was, and no count
// leaves its bounds. Data 0 of the answer picks the entry, data 1 the keyframe.
bool CheckEffectAnswers(std::span<const uint8_t> input) {
    ResetStorageTables();
    for (int i = 0; i < kEffectSlots; ++i) {
        g_effectTable[i].number = i + 1;
        g_effectTable[i].keyframeCount = i;
    }
    EffectRecord before[kEffectSlots];
    std::copy(std::begin(g_effectTable), std::end(g_effectTable), before);

    const Guarded<AnswerBuffer> answer = AnswerOf(input);
    const int named = AnswerData(answer.buffer, 0);
    const int infoIndex = ApplyEffectInfo(answer.buffer);
    const int assignmentIndex = ApplyEffectAssignments(answer.buffer);
    const int keyframe = AnswerData(answer.buffer, 1) % (kMaxKeyframes + 2) - 1;
    StoreKeyframe(named, keyframe, answer.buffer);

    if (!answer.Intact() || (infoIndex != -1 && infoIndex != named) ||
        (assignmentIndex != -1 && assignmentIndex != named)) {
        return false;
    }
    for (int i = 0; i < kEffectSlots; ++i) {
        const EffectRecord& effect = g_effectTable[i];
        if (effect.keyframeCount < 0 || effect.keyframeCount > kMaxKeyframes ||
            effect.assignmentCount < 0 || effect.assignmentCount > kMaxAssignments) {
            return false;
        }
        if (i != named && !SameBytes(effect, before[i])) {
            return false;
        }
    }
    return true;
}
