#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "protocol/Lists.h"

// Program-wide tables of what a unit stores: its two file directories, the transfer buffer
// for unit-to-unit copies, the GPI list and sequence records, and the effect table. The
// commands fill them from unit data; the dialogs and the panel read them. Fixed sizes: a
// unit can never make the program write outside them.

using NameField = std::array<uint8_t, kNameBytes>;

// The text of a name field: its bytes up to the first zero, never past the field.
std::string NameText(const NameField& name);
// A name field holding the first `maxLength` bytes of `text`, zero-padded.
NameField MakeNameField(const std::string& text, int maxLength = kNameBytes);

// ---- File directories ----

enum class FileKind : uint8_t {
    Main = 0,  // the main directory
    User = 1,  // the user directory: user files or preferences, by model
};

constexpr int kDirectorySlots = 100;
constexpr int kDirectoryMaxCount = 99;
constexpr int kDirectoryBufferSize = kDirectorySlots * kWireEntrySize;  // 2,800 bytes

struct DirectoryEntry {
    int32_t fileId = 0;
    int32_t secondNumber = 0;
    NameField name{};

    std::string Name() const { return NameText(name); }
};

struct FileDirectory {
    int32_t count = 0;
    int32_t stored = 0;  // slots the last list filled; one more than count for a full list
    std::array<DirectoryEntry, kDirectorySlots> entries{};
};

extern FileDirectory g_fileDirectory[2];  // indexed by FileKind
FileDirectory& DirectoryOf(FileKind kind);

// Bytes of one file, carried from one unit to another.
constexpr int kTransferBufferSize = 2800;
struct TransferBuffer {
    std::array<uint8_t, kTransferBufferSize> bytes{};
    int32_t length = 0;
    // The whole file is here: a read that failed or was cut short is never sent on.
    bool complete = false;
};
extern TransferBuffer g_transferBuffer;

// ---- GPI ----

constexpr int kGpiSlots = 10;
constexpr int kGpiListBufferSize = 2800;
constexpr int kMaxGpiEvents = 200;

struct GpiEntry {
    int32_t number = 0;
    int32_t eventCount = 0;
    NameField name{};
};

struct GpiList {
    int32_t count = 0;
    std::array<GpiEntry, kGpiSlots> entries{};
};
extern GpiList g_gpiList;

constexpr uint8_t kSequenceRecordRead = 0x5F;

// One sequence as the unit last reported it. Every field is a byte, so the record is the
// 430-byte block the dialogs expect.
struct GpiSequenceRecord {
    uint8_t marker = 0;  // kSequenceRecordRead once filled
    std::array<uint8_t, 3> head{};
    NameField name{};
    uint8_t step = 0;  // 1-based event the unit recalls next; 0 = none
    uint8_t eventCount = 0;
    std::array<uint8_t, kMaxGpiEvents> eventKind{};
    std::array<uint8_t, kMaxGpiEvents> eventFile{};
};
static_assert(sizeof(GpiSequenceRecord) == 430);

extern GpiSequenceRecord g_gpiSequence[kGpiSlots];  // indexed by 0-based sequence number

// ---- Effects ----

constexpr int kEffectListBufferSize = 256;
constexpr int kEffectSlots = kEffectListBufferSize / kWireEntrySize;  // 9
constexpr int kMaxAssignments = 32;
constexpr int kMaxKeyframes = 32;

struct Keyframe {
    int32_t time = 0;
    std::array<uint8_t, 3> bytes{};
};

struct EffectRecord {
    int32_t number = 0;
    int32_t info = 0;
    NameField name{};
    int32_t keyframeCount = 0;
    int32_t currentKeyframe = 0;  // 1-based
    int32_t value = 0;
    int32_t assignmentCount = 0;
    std::array<uint8_t, kMaxAssignments> assignments{};
    std::array<Keyframe, kMaxKeyframes> keyframes{};

    std::string Name() const { return NameText(name); }
};
static_assert(sizeof(EffectRecord) == 336);

extern EffectRecord g_effectTable[kEffectSlots];
extern int32_t g_effectCount;
extern uint8_t g_currentEffect;

// The effect at `index`, or nullptr when the index lies outside the table.
EffectRecord* EffectAt(int index);

// ---- Loading the tables from collected list bytes ----

// Refills `directory` with the whole 28-byte entries of `collected` from slot 0: at most 100
// slots, a count of at most 99. A trailing partial entry is dropped.
void StoreDirectory(std::span<const uint8_t> collected, FileDirectory& directory);

// Up to 10 entries; a trailing partial entry is stored and counted, its missing bytes zero.
void StoreGpiList(std::span<const uint8_t> collected, GpiList& list);

// Whole entries only, at most the table's slots; the count is the number stored.
void StoreEffectList(std::span<const uint8_t> collected);

// Every table back to its start value (tests, and a fresh panel).
void ResetStorageTables();
