#include "history/Snapshot.h"

#include <algorithm>

#include "model/PanelModel.h"
#include "protocol/ParameterArguments.h"
#include "protocol/StatusFlags.h"

namespace {

constexpr uint64_t kFnvOffsetBasis = 14695981039346656037ULL;
constexpr uint64_t kFnvPrime = 1099511628211ULL;

UnitValues TableValues() {
    UnitValues values;
    for (int number = 0; number < kUnitParameters; ++number) {
        values.parameters[number] = g_paramTable[number].value;
    }
    for (int offset = 0; offset < kUnitFunctions; ++offset) {
        values.functions[offset] = g_functionTable[offset].value;
    }
    return values;
}

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

Snapshot CaptureSnapshot(int unit, const UnitValues& values, const std::string& settingsText,
                         const std::string& takenAt) {
    Snapshot snapshot;
    snapshot.unit = unit;
    snapshot.model = g_unitStatus[kStatusByteModel];
    snapshot.menuImageHash = MenuImageHash(unit);
    snapshot.settingsText = settingsText;
    snapshot.takenAt = takenAt;
    for (int number = 0; number < kUnitParameters; ++number) {
        const ParamRecord& record = g_paramTable[number];
        if (!record.name.empty() && values.parameters[number]) {
            snapshot.values.push_back({number, record.name, *values.parameters[number]});
        }
    }
    for (int offset = 0; offset < kUnitFunctions; ++offset) {
        const FunctionRecord& record = g_functionTable[offset];
        if (!record.label.empty() && (record.flags & kFlagMomentary) == 0 &&
            values.functions[offset]) {
            snapshot.values.push_back(
                {kFirstFunctionNumber + offset, record.label, *values.functions[offset]});
        }
    }
    return snapshot;
}

Snapshot CaptureSnapshot(int unit, const std::string& settingsText, const std::string& takenAt) {
    return CaptureSnapshot(unit, TableValues(), settingsText, takenAt);
}
