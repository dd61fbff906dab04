// The storage lists as the unit's collected list bytes: file directories, the GPI list, the
// effect list, and GPI sequence records.
#include <algorithm>

#include "fuzz/parsers/Guarded.h"
#include "fuzz/parsers/ParserChecks.h"
#include "link/GpiCommands.h"
#include "link/StorageTables.h"

namespace {

bool GpiListEmptyFrom(const GpiList& list, size_t first) {
    return std::all_of(list.entries.begin() + static_cast<std::ptrdiff_t>(first),
                       list.entries.end(), [](const GpiEntry& entry) {
                           return entry.number == 0 && entry.eventCount == 0 &&
                                  entry.name == NameField{};
                       });
}

bool DirectoryEmptyFrom(const FileDirectory& directory, size_t first) {
    return std::all_of(directory.entries.begin() + static_cast<std::ptrdiff_t>(first),
                       directory.entries.end(), [](const DirectoryEntry& entry) {
                           return entry.fileId == 0 && entry.secondNumber == 0 &&
                                  entry.name == NameField{};
                       });
}

}  // namespace

bool CheckDirectoryList(std::span<const uint8_t> input) {
    Guarded<FileDirectory> directory;
    directory.buffer.count = -1;  // what an earlier list left must not survive
    directory.buffer.entries.fill(DirectoryEntry{7, 7, MakeNameField("earlier")});
    StoreDirectory(input, directory.buffer);
    const FileDirectory& stored = directory.buffer;
    return directory.Intact() && stored.count >= 0 && stored.count <= kDirectoryMaxCount &&
           stored.stored >= stored.count && stored.stored <= kDirectorySlots &&
           static_cast<size_t>(stored.stored) ==
               std::min<size_t>(input.size() / kWireEntrySize, kDirectorySlots) &&
           DirectoryEmptyFrom(stored, static_cast<size_t>(stored.stored));
}

bool CheckGpiList(std::span<const uint8_t> input) {
    Guarded<GpiList> list;
    list.buffer.entries.fill(GpiEntry{7, 7, MakeNameField("earlier")});
    StoreGpiList(input, list.buffer);
    const int32_t count = list.buffer.count;
    return list.Intact() && count >= 0 && count <= kGpiSlots &&
           GpiListEmptyFrom(list.buffer, static_cast<size_t>(count));
}

// The effect list renames entries; what the effect dialog read into them stays.
bool CheckEffectList(std::span<const uint8_t> input) {
    ResetStorageTables();
    for (EffectRecord& effect : g_effectTable) {
        effect.keyframeCount = 3;
        effect.assignmentCount = 2;
        effect.keyframes[0].time = 77;
    }
    StoreEffectList(input);
    return g_effectCount >= 0 && g_effectCount <= kEffectSlots &&
           std::all_of(std::begin(g_effectTable), std::end(g_effectTable),
                       [](const EffectRecord& effect) {
                           return effect.keyframeCount == 3 && effect.assignmentCount == 2 &&
                                  effect.keyframes[0].time == 77;
                       });
}

// Events past the count are never left from an earlier record.
bool CheckSequenceRecord(std::span<const uint8_t> input) {
    Guarded<GpiSequenceRecord> record;
    record.buffer.eventKind.fill(0xEE);
    ParseSequenceRecord(input, record.buffer);
    const GpiSequenceRecord& parsed = record.buffer;
    if (!record.Intact() || parsed.eventCount > kMaxGpiEvents) {
        return false;
    }
    if (input.empty()) {
        return parsed.marker == 0;  // no record: nothing stored
    }
    return parsed.marker == kSequenceRecordRead &&
           std::all_of(parsed.eventKind.begin() + parsed.eventCount, parsed.eventKind.end(),
                       [](uint8_t kind) { return kind == 0; });
}
