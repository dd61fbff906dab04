// The keyframe position the information line shows in the keyframe menu.
#include "link/StorageTables.h"
#include "panel/CTavrinoxDlg.h"

int CTavrinoxDlg::CurrentKeyframe() const {
    const EffectRecord* effect = EffectAt(g_currentEffect);
    return effect != nullptr ? effect->currentKeyframe : 0;
}

int CTavrinoxDlg::KeyframeCount() const {
    const EffectRecord* effect = EffectAt(g_currentEffect);
    return effect != nullptr ? effect->keyframeCount : 0;
}
