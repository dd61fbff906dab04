#include "unit/OnAirLockout.h"

#include "link/LockoutCommands.h"
#include "model/PanelModel.h"

namespace {

void ApplyLockState(uint8_t state, int32_t& flags) {
    if (state == kLockStateUnlocked) {
        flags &= ~kFlagOnAirLocked;
    } else {
        flags |= kFlagOnAirLocked;
    }
}

}  // namespace

void ApplyLockTablesToRecords() {
    for (int i = 0; i < kLockTableSize; ++i) {
        ApplyLockState(g_onAirLockTable[kKnobLockTable][i], g_paramTable[i].flags);
        ApplyLockState(g_onAirLockTable[kFunctionLockTable][i], g_functionTable[i].flags);
    }
}

Status ApplyOnAirLockout() {
    const Status status = ReadOnAirLockout();
    ApplyLockTablesToRecords();
    return status;
}
