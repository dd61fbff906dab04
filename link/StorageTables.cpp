#include "link/StorageTables.h"

#include <algorithm>
#include <cstring>

FileDirectory g_fileDirectory[2];
TransferBuffer g_transferBuffer;
GpiList g_gpiList;
GpiSequenceRecord g_gpiSequence[kGpiSlots];
EffectRecord g_effectTable[kEffectSlots];
int32_t g_effectCount = 0;
uint8_t g_currentEffect = 0;

std::string NameText(const NameField& name) {
    const auto end = std::find(name.begin(), name.end(), uint8_t{0});
    return std::string(name.begin(), end);
}

NameField MakeNameField(const std::string& text, int maxLength) {
    NameField field{};
    const size_t length = std::min({text.size(), field.size(), static_cast<size_t>(maxLength)});
    std::memcpy(field.data(), text.data(), length);
    return field;
}

FileDirectory& DirectoryOf(FileKind kind) {
    return g_fileDirectory[kind == FileKind::User ? 1 : 0];
}

EffectRecord* EffectAt(int index) {
    return index >= 0 && index < kEffectSlots ? &g_effectTable[index] : nullptr;
}

namespace {

// One 28-byte wire entry: two big-endian 16-bit numbers and a name. Bytes past the end of
// `bytes` read as zero.
struct WireEntry {
    int32_t first = 0;
    int32_t second = 0;
    NameField name{};
};

WireEntry ReadWireEntry(std::span<const uint8_t> bytes, size_t offset) {
    uint8_t raw[kWireEntrySize] = {};
    const size_t available = offset < bytes.size() ? bytes.size() - offset : 0;
    std::memcpy(raw, bytes.data() + offset, std::min<size_t>(available, kWireEntrySize));
    WireEntry entry;
    entry.first = raw[0] << 8 | raw[1];
    entry.second = raw[2] << 8 | raw[3];
    std::memcpy(entry.name.data(), raw + 4, kNameBytes);
    return entry;
}

size_t WholeEntries(std::span<const uint8_t> bytes) {
    return bytes.size() / kWireEntrySize;
}

}  // namespace

void StoreDirectory(std::span<const uint8_t> collected, FileDirectory& directory) {
    directory = FileDirectory{};
    const size_t stored = std::min<size_t>(WholeEntries(collected), kDirectorySlots);
    for (size_t i = 0; i < stored; ++i) {
        const WireEntry wire = ReadWireEntry(collected, i * kWireEntrySize);
        directory.entries[i] = DirectoryEntry{wire.first, wire.second, wire.name};
    }
    directory.stored = static_cast<int32_t>(stored);
    directory.count = static_cast<int32_t>(std::min<size_t>(stored, kDirectoryMaxCount));
}

void StoreGpiList(std::span<const uint8_t> collected, GpiList& list) {
    list = GpiList{};
    // An entry counts when its first byte arrived; what is missing of it reads as zero.
    const size_t started = (collected.size() + kWireEntrySize - 1) / kWireEntrySize;
    const size_t stored = std::min<size_t>(started, kGpiSlots);
    for (size_t i = 0; i < stored; ++i) {
        const WireEntry wire = ReadWireEntry(collected, i * kWireEntrySize);
        list.entries[i] = GpiEntry{wire.first, wire.second, wire.name};
    }
    list.count = static_cast<int32_t>(stored);
}

void StoreEffectList(std::span<const uint8_t> collected) {
    const size_t stored = std::min<size_t>(WholeEntries(collected), kEffectSlots);
    for (size_t i = 0; i < stored; ++i) {
        const WireEntry wire = ReadWireEntry(collected, i * kWireEntrySize);
        EffectRecord& effect = g_effectTable[i];
        effect.number = wire.first;
        effect.info = wire.second;
        effect.name = wire.name;
    }
    g_effectCount = static_cast<int32_t>(stored);
}

void ResetStorageTables() {
    for (FileDirectory& directory : g_fileDirectory) {
        directory = FileDirectory{};
    }
    g_transferBuffer = TransferBuffer{};
    g_gpiList = GpiList{};
    for (GpiSequenceRecord& record : g_gpiSequence) {
        record = GpiSequenceRecord{};
    }
    for (EffectRecord& effect : g_effectTable) {
        effect = EffectRecord{};
    }
    g_effectCount = 0;
    g_currentEffect = 0;
}
