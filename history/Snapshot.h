#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/UnitValues.h"

// What the panel can read of a unit, kept on the PC: every knob parameter's and function's
// value, the unit's model and the identity of its menu image, its number and its settings
// strip, and when it was taken.
struct SnapshotValue {
    int number = 0;  // 0..127 a knob parameter, 128..255 a function
    std::string name;
    int value = 0;  // raw, as the unit holds it

    bool operator==(const SnapshotValue&) const = default;
};

struct Snapshot {
    static constexpr int kVersion = 1;

    int unit = 0;  // 1..4
    int model = 0;
    uint64_t menuImageHash = 0;
    std::string settingsText;
    std::string takenAt;                // ISO 8601, UTC
    std::vector<SnapshotValue> values;  // by number, each number once

    // The value of `number`, null when the snapshot has none.
    const SnapshotValue* Find(int number) const;
    bool operator==(const Snapshot&) const = default;
};

// FNV-1a, 64 bits, of a unit's menu image bytes: two units with the same image have the
// same identity, and a changed image another.
uint64_t MenuImageHash(int unit);

// The selected unit's state as the tables hold it now (read its values first): the knob
// parameters the menu image names, and the functions it names that hold a value (momentary
// functions hold none).
Snapshot CaptureSnapshot(int unit, const std::string& settingsText, const std::string& takenAt);
// The same with the values of `values`, read of unit `unit` apart from the tables: the names
// are the selected unit's, so the unit must be of its model; an entry the read did not carry
// is left out. The model is the selected unit's until the caller sets the unit's own.
Snapshot CaptureSnapshot(int unit, const UnitValues& values, const std::string& settingsText,
                         const std::string& takenAt);
