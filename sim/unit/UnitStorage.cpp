#include "sim/unit/UnitStorage.h"

#include <algorithm>
#include <utility>

#include "model/PanelModel.h"
#include "protocol/Files.h"

namespace {

constexpr size_t kListPartSize = 8 * kWireEntrySize;  // eight entries per answer
constexpr uint8_t kNoKnob = 0x80;

// File data of a copy: a mark, the format, the whole length, the save context, the name and
// every parameter value.
constexpr uint8_t kFileMark = 0x56;
constexpr uint8_t kFileFormat = 1;
constexpr size_t kFileHeaderSize = 6;
constexpr size_t kFileValuesOffset = kFileHeaderSize + kNameBytes;
constexpr size_t kFileDataSize = kFileValuesOffset + 256 * 2;

int WordAt(const std::vector<uint8_t>& data, size_t offset) {
    return data[offset] << 8 | data[offset + 1];
}

void AppendEntry(std::vector<uint8_t>& list, int first, int second, const std::string& name) {
    AppendWord(list, first);
    AppendWord(list, second);
    AppendName(list, name);
}

std::vector<uint8_t> EmptyCustomMenus() {
    std::vector<uint8_t> body(kCustomMenuBodySize, 0);
    for (int block = 0; block < kCustomMenuBlocks; ++block) {
        const auto start = body.begin() + block * kCustomMenuBlockSize;
        std::fill_n(start + kBlockKnobOffset, kKnobCount, kNoKnob);
        std::fill_n(start + kBlockFunctionOffset, kFunctionButtonCount, kEmptyButtonOnWire);
    }
    return body;
}

}  // namespace

void AppendName(std::vector<uint8_t>& data, const std::string& name, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        data.push_back(i < name.size() ? static_cast<uint8_t>(name[i]) : 0);
    }
}

std::string NameFrom(const std::vector<uint8_t>& bytes, size_t offset, size_t length) {
    std::string name;
    for (size_t i = offset; i < bytes.size() && i < offset + length && bytes[i] != 0; ++i) {
        name.push_back(static_cast<char>(bytes[i]));
    }
    return name;
}

// ---- ListSender ----

void ListSender::Prepare(std::vector<uint8_t> bytes) {
    m_bytes = std::move(bytes);
    m_offset = 0;
    m_partsSent = 0;
}

std::optional<SimAnswer> ListSender::Next(uint8_t more, uint8_t last, bool endless,
                                          std::optional<uint32_t> silentAfter) {
    if (silentAfter && m_partsSent >= *silentAfter) {
        return std::nullopt;
    }
    if (endless && m_offset >= m_bytes.size()) {
        m_offset = 0;
    }
    const size_t size =
        std::min(kListPartSize, m_bytes.size() - std::min(m_offset, m_bytes.size()));
    SimAnswer answer{more, {}};
    answer.data.assign(m_bytes.begin() + static_cast<std::ptrdiff_t>(m_offset),
                       m_bytes.begin() + static_cast<std::ptrdiff_t>(m_offset + size));
    m_offset += size;
    ++m_partsSent;
    if (!endless && m_offset >= m_bytes.size()) {
        answer.code = last;
    }
    return answer;
}

// ---- UnitStorage ----

UnitStorage::UnitStorage(const std::array<int, 256>& values, uint16_t context) {
    StoredFile file;
    file.values = values;
    file.context = context;
    const char* const mainFiles[] = {"Factory Setup", "News Open", "Sports Key"};
    uint16_t id = 1;
    for (const char* name : mainFiles) {
        file.id = id++;
        file.name = name;
        m_directories[0].push_back(file);
    }
    file.id = 1;
    file.name = "Operator A";
    file.customMenus = EmptyCustomMenus();
    m_directories[1].push_back(file);

    for (int i = 0; i < kSimGpiSequences; ++i) {
        m_sequences[static_cast<size_t>(i)].name = "GPI " + std::to_string(i + 1);
    }
    m_sequences[0].events = {{1, 1}, {1, 2}};

    StoredEffect fade;
    fade.name = "Fade Up";
    fade.assignments = {1, 2};
    fade.keyframes = {{0, {0, 0, 0}}, {25, {50, 50, 0}}, {50, {100, 100, 0}}};
    m_effects.push_back(fade);
    StoredEffect wipe;
    wipe.name = "Wipe Left";
    m_effects.push_back(wipe);
}

std::vector<StoredFile>& UnitStorage::Directory(SimDirectory directory) {
    return m_directories[static_cast<size_t>(directory)];
}

StoredFile* UnitStorage::FindByLowId(SimDirectory directory, uint8_t idLow) {
    for (StoredFile& file : Directory(directory)) {
        if ((file.id & 0xFF) == idLow) {
            return &file;
        }
    }
    return nullptr;
}

StoredFile* UnitStorage::FindById(SimDirectory directory, uint16_t id) {
    for (StoredFile& file : Directory(directory)) {
        if (file.id == id) {
            return &file;
        }
    }
    return nullptr;
}

uint16_t UnitStorage::NextFreeId(SimDirectory directory) const {
    uint16_t id = 1;
    for (const StoredFile& file : m_directories[static_cast<size_t>(directory)]) {
        id = std::max<uint16_t>(id, static_cast<uint16_t>(file.id + 1));
    }
    return id;
}

bool UnitStorage::Store(SimDirectory directory, StoredFile file) {
    std::vector<StoredFile>& files = Directory(directory);
    file.name = file.name.substr(0, kMaxNameLength);
    StoredFile* existing = nullptr;
    if (file.id == kNewFileId) {
        for (StoredFile& candidate : files) {
            if (candidate.name == file.name) {
                existing = &candidate;
            }
        }
        file.id = existing ? existing->id : NextFreeId(directory);
    } else {
        existing = FindById(directory, file.id);
    }
    if (existing) {
        *existing = std::move(file);
        return true;
    }
    if (files.size() >= kSimDirectorySize) {
        return false;
    }
    files.push_back(std::move(file));
    return true;
}

bool UnitStorage::Remove(SimDirectory directory, uint16_t id) {
    std::vector<StoredFile>& files = Directory(directory);
    const auto found =
        std::find_if(files.begin(), files.end(), [id](const StoredFile& f) { return f.id == id; });
    if (found == files.end()) {
        return false;
    }
    files.erase(found);
    return true;
}

void UnitStorage::Restart() {
    for (ListSender& list : m_lists) {
        list = ListSender{};
    }
    m_receiving = false;
    m_received.clear();
}

void UnitStorage::ClearFiles() {
    for (std::vector<StoredFile>& files : m_directories) {
        files.clear();
    }
}

std::vector<uint8_t> UnitStorage::DirectoryList(SimDirectory directory) const {
    std::vector<uint8_t> list;
    for (const StoredFile& file : m_directories[static_cast<size_t>(directory)]) {
        AppendEntry(list, file.id, file.context, file.name);
    }
    return list;
}

std::vector<uint8_t> UnitStorage::EncodeFile(const StoredFile& file) {
    std::vector<uint8_t> data{kFileMark, kFileFormat};
    AppendWord(data, static_cast<int>(kFileDataSize));
    AppendWord(data, file.context);
    AppendName(data, file.name);
    for (int value : file.values) {
        AppendWord(data, value);
    }
    return data;
}

std::optional<StoredFile> UnitStorage::DecodeFile(const std::vector<uint8_t>& data) {
    if (data.size() < kFileDataSize || data[0] != kFileMark || data[1] != kFileFormat ||
        static_cast<size_t>(WordAt(data, 2)) != kFileDataSize) {
        return std::nullopt;
    }
    StoredFile file;
    file.id = kNewFileId;
    file.context = static_cast<uint16_t>(WordAt(data, 4));
    file.name = NameFrom(data, kFileHeaderSize, kMaxNameLength);
    for (int n = 0; n < 256; ++n) {
        const int word = WordAt(data, kFileValuesOffset + 2 * static_cast<size_t>(n));
        // Knob values are signed 16-bit, function values one byte.
        file.values[static_cast<size_t>(n)] =
            n < kFirstFunctionNumber ? static_cast<int16_t>(word) : (word & 0xFF);
    }
    return file;
}

bool UnitStorage::ReceiveChunk(const std::vector<uint8_t>& chunk) {
    if (!m_receiving) {
        return false;
    }
    m_received.insert(m_received.end(), chunk.begin(), chunk.end());
    // The header tells the whole length; wrong data is refused at once.
    if (m_received.size() >= 4 && (m_received[0] != kFileMark || m_received[1] != kFileFormat ||
                                   static_cast<size_t>(WordAt(m_received, 2)) != kFileDataSize)) {
        m_receiving = false;
        return false;
    }
    if (m_received.size() < kFileDataSize) {
        return true;
    }
    m_receiving = false;
    std::optional<StoredFile> file = DecodeFile(m_received);
    return file && m_received.size() == kFileDataSize && Store(SimDirectory::Main, *file);
}

std::vector<uint8_t> UnitStorage::GpiList() const {
    std::vector<uint8_t> list;
    for (int i = 0; i < kSimGpiSequences; ++i) {
        const GpiSequence& sequence = m_sequences[static_cast<size_t>(i)];
        AppendEntry(list, i + 1, static_cast<int>(sequence.events.size()), sequence.name);
    }
    return list;
}

std::vector<uint8_t> UnitStorage::SequenceRecord(int index) const {
    const GpiSequence& sequence = m_sequences[static_cast<size_t>(index)];
    std::vector<uint8_t> record{static_cast<uint8_t>(index), 0, 0};
    AppendName(record, sequence.name);
    record.push_back(sequence.step);
    record.push_back(static_cast<uint8_t>(sequence.events.size()));
    for (const GpiEvent& event : sequence.events) {
        record.push_back(event.kind);
        record.push_back(event.file);
    }
    return record;
}

StoredEffect* UnitStorage::Effect(int number) {
    return number >= 0 && number < static_cast<int>(m_effects.size())
               ? &m_effects[static_cast<size_t>(number)]
               : nullptr;
}

std::vector<uint8_t> UnitStorage::EffectList() const {
    std::vector<uint8_t> list;
    for (size_t i = 0; i < m_effects.size(); ++i) {
        AppendEntry(list, static_cast<int>(i), static_cast<int>(m_effects[i].keyframes.size()),
                    m_effects[i].name);
    }
    return list;
}
