// The effect list, effect information, assignments and keyframe answers, from hostile data.
#include <algorithm>
#include <cstdlib>

#include "fuzz/storage_fuzz_line.h"
#include "link/EffectCommands.h"
#include "link/KeyframeCommands.h"

namespace {

void CheckEffects() {
    if (g_effectCount < 0 || g_effectCount > kEffectSlots) {
        std::abort();
    }
    for (const EffectRecord& effect : g_effectTable) {
        if (effect.keyframeCount < 0 || effect.keyframeCount > kMaxKeyframes ||
            effect.assignmentCount < 0 || effect.assignmentCount > kMaxAssignments) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    storage_fuzz::ScriptedLine line({data + 1, size - 1});
    static_cast<void>(ReadEffectList());
    CheckEffects();

    // The same bytes as one received answer for the dialog's parsers.
    AnswerBuffer answer{};
    std::copy_n(data, std::min(size, answer.size()), answer.begin());
    ApplyEffectInfo(answer);
    ApplyEffectAssignments(answer);
    StoreKeyframe(data[0] % (kEffectSlots + 1), data[0] / 4 - 8, answer);
    CheckEffects();

    uint8_t number = 0;
    static_cast<void>(CreateEffect("fuzz", number));
    static_cast<void>(ReadKeyframe(number, data[0], answer));
    return 0;
}
