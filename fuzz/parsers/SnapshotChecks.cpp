// Snapshot files, as the panel reads them before a compare or a restore.
#include <string>
#include <string_view>

#include "fuzz/parsers/ParserChecks.h"
#include "history/SnapshotFile.h"
#include "protocol/ParameterArguments.h"

namespace {

constexpr const char* kFileName = "fuzz.json";

bool ValuesInBounds(const Snapshot& snapshot) {
    int previous = -1;
    for (const SnapshotValue& value : snapshot.values) {
        const bool knob = value.number <= kLastKnobParameter;
        if (value.number <= previous || value.number > 255 ||
            (knob ? value.value < -32768 || value.value > 32767
                  : value.value < 0 || value.value > 255)) {
            return false;
        }
        previous = value.number;
    }
    return snapshot.unit >= 1 && snapshot.unit <= 4 && snapshot.model >= 0 &&
           snapshot.model <= 255 && snapshot.values.size() <= 256;
}

}  // namespace

// A file gives a snapshot or a message naming the file, never both. A snapshot holds only
// what a unit can hold, and written out again it reads back the same.
bool CheckSnapshotFile(std::span<const uint8_t> input) {
    const std::string_view text(reinterpret_cast<const char*>(input.data()), input.size());
    const SnapshotRead read = ParseSnapshot(text, kFileName);
    if (!read.snapshot) {
        return read.error.rfind(std::string(kFileName) + ": ", 0) == 0;
    }
    if (!read.error.empty() || !ValuesInBounds(*read.snapshot)) {
        return false;
    }
    const SnapshotRead again = ParseSnapshot(SnapshotJson(*read.snapshot), kFileName);
    return again.snapshot && *again.snapshot == *read.snapshot;
}
