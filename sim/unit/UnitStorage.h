#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "protocol/Lists.h"
#include "sim/unit/SimPacket.h"

// What a unit keeps besides its parameters: the main and user file directories with each
// file's stored values, the GPI sequences with their pointers, and the effects with their
// keyframes; and the lists the master is reading from them at present.

constexpr int kSimDirectorySize = 99;  // files per directory
constexpr int kSimGpiSequences = 10;
constexpr int kSimMaxEvents = 112;  // a sequence record must fit one answer
constexpr int kSimMaxEffects = 9;
constexpr int kSimMaxKeyframes = 32;
constexpr int kSimMaxAssignments = 32;
constexpr size_t kSimFileDataLimit = 2800;  // what a master's transfer buffer holds

enum class SimDirectory { Main = 0, User = 1 };

struct StoredFile {
    uint16_t id = 0;
    uint16_t context = 0;  // the menu the unit showed when the file was saved
    std::string name;
    std::array<int, 256> values{};
    std::vector<uint8_t> customMenus;  // user files: the body the master sent
};

struct GpiEvent {
    uint8_t kind = 0;
    uint8_t file = 0;  // low byte of the main-directory file id it recalls
};

struct GpiSequence {
    std::string name;
    uint8_t step = 0;  // 1-based event recalled next; 0 = none
    std::vector<GpiEvent> events;
};

struct SimKeyframe {
    uint16_t time = 0;
    std::array<uint8_t, 3> bytes{};
};

struct StoredEffect {
    std::string name;
    uint16_t value = 0;
    std::vector<uint8_t> assignments;
    std::vector<SimKeyframe> keyframes;
    uint8_t currentKeyframe = 0;  // 0-based
};

// A list the master reads in parts: prepared by its first request, sent by the follow-ups.
class ListSender {
  public:
    void Prepare(std::vector<uint8_t> bytes);
    // The next part, `more` or `last`. `endless` (an oversized unit) starts over instead of
    // ending. nullopt once `silentAfter` parts have gone out (a unit that hangs mid-list).
    std::optional<SimAnswer> Next(uint8_t more, uint8_t last, bool endless,
                                  std::optional<uint32_t> silentAfter);

  private:
    std::vector<uint8_t> m_bytes;
    size_t m_offset = 0;
    uint32_t m_partsSent = 0;
};

enum class SimList { MainDirectory, UserDirectory, GpiList, EffectList, FileData, Count };

class UnitStorage {
  public:
    // Starts with a few files, sequences and effects so a fresh unit has something to show;
    // its files hold `values` (all 256 parameters) saved from menu `context`.
    UnitStorage(const std::array<int, 256>& values, uint16_t context);

    // ---- Files ----
    std::vector<StoredFile>& Directory(SimDirectory directory);
    // The file whose id has low byte `idLow`, or nullptr.
    StoredFile* FindByLowId(SimDirectory directory, uint8_t idLow);
    StoredFile* FindById(SimDirectory directory, uint16_t id);
    // Stores `file` under its id, replacing a file with that id or, for a new file (id
    // 0xFFFF), one with the same name. False when the directory is full.
    bool Store(SimDirectory directory, StoredFile file);
    bool Remove(SimDirectory directory, uint16_t id);
    // Clearing the unit's files empties both directories.
    void ClearFiles();
    // 28 bytes per file: id, context, name.
    std::vector<uint8_t> DirectoryList(SimDirectory directory) const;

    // File data of a unit-to-unit copy: the file in a self-describing form, and the reverse.
    static std::vector<uint8_t> EncodeFile(const StoredFile& file);
    static std::optional<StoredFile> DecodeFile(const std::vector<uint8_t>& data);
    // Receiving file data from another unit.
    void BeginReceive() {
        m_receiving = true;
        m_received.clear();
    }
    bool Receiving() const { return m_receiving; }
    // Adds a chunk; once the file is whole it is stored in the main directory. False when
    // the data cannot be a file, or the file cannot be stored.
    bool ReceiveChunk(const std::vector<uint8_t>& chunk);

    // ---- GPI ----
    GpiSequence& Sequence(int index) { return m_sequences[static_cast<size_t>(index)]; }
    std::vector<uint8_t> GpiList() const;
    std::vector<uint8_t> SequenceRecord(int index) const;
    int RunningSequence() const { return m_runningSequence; }
    void SetRunningSequence(int index) { m_runningSequence = index; }

    // ---- Effects ----
    std::vector<StoredEffect>& Effects() { return m_effects; }
    StoredEffect* Effect(int number);
    std::vector<uint8_t> EffectList() const;

    ListSender& List(SimList list) { return m_lists[static_cast<size_t>(list)]; }

    // Switching on again forgets the lists being read and a copy being received; what is
    // stored stays.
    void Restart();

  private:
    uint16_t NextFreeId(SimDirectory directory) const;

    std::array<std::vector<StoredFile>, 2> m_directories;
    std::array<GpiSequence, kSimGpiSequences> m_sequences;
    int m_runningSequence = 0;
    std::vector<StoredEffect> m_effects;
    std::array<ListSender, static_cast<size_t>(SimList::Count)> m_lists;
    bool m_receiving = false;
    std::vector<uint8_t> m_received;
};

// A name as a unit sends it: `length` bytes, zero-padded. And the reverse, up to the first
// zero.
void AppendName(std::vector<uint8_t>& data, const std::string& name, size_t length = kNameBytes);
std::string NameFrom(const std::vector<uint8_t>& bytes, size_t offset, size_t length);
