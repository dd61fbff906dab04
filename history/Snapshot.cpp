#include "history/Snapshot.h"

#include <algorithm>

#include "model/PanelModel.h"
#include "protocol/ParameterArguments.h"
#include "protocol/StatusFlags.h"

namespace {

constexpr uint64_t kFnvOffsetBasis = 14695981039346656037ULL;
constexpr uint64_t kFnvPrime = 1099511628211ULL;
// The functions a menu image can name: 128..255, offsets 0..127.
constexpr int kImageFunctions = 128;

}  // namespace

const SnapshotValue* Snapshot::Find(int number) const {
    const auto it = std::lower_bound(
        values.begin(), values.end(), number,
        [](const SnapshotValue& entry, int wanted) { return entry.number < wanted; });
    return it != values.end() && it->number == number ? &*it : nullptr;
}

uint64_t MenuImageHash(int unit) {
    if (unit < 1 || unit >= kUnitSlots) {
        return 0;
    }
    uint64_t hash = kFnvOffsetBasis;
    for (const uint8_t byte : g_panelModel.MenuImage(unit)) {
        hash = (hash ^ byte) * kFnvPrime;
    }
    return hash;
}

Snapshot CaptureSnapshot(int unit, const std::string& settingsText, const std::string& takenAt) {
    Snapshot snapshot;
    snapshot.unit = unit;
    snapshot.model = g_unitStatus[kStatusByteModel];
    snapshot.menuImageHash = MenuImageHash(unit);
    snapshot.settingsText = settingsText;
    snapshot.takenAt = takenAt;
    for (int number = 0; number <= kLastKnobParameter; ++number) {
        const ParamRecord& record = g_paramTable[number];
        if (!record.name.empty()) {
            snapshot.values.push_back({number, record.name, record.value});
        }
    }
    for (int offset = 0; offset < kImageFunctions; ++offset) {
        const FunctionRecord& record = g_functionTable[offset];
        if (!record.label.empty() && (record.flags & kFlagMomentary) == 0) {
            snapshot.values.push_back({kFirstFunctionNumber + offset, record.label, record.value});
        }
    }
    return snapshot;
}
