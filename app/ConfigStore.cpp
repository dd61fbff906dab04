#include "app/ConfigStore.h"

#include <filesystem>
#include <fstream>

#include "app/ConfigLocation.h"

ConfigStore g_configuration;

namespace {

// A configuration file is a few hundred bytes; anything past this is not one (a device,
// a wrong path given on the command line) and is not read on.
constexpr std::size_t kMaxConfigurationBytes = 1024 * 1024;
constexpr std::size_t kReadChunkBytes = 4096;

bool IsKeyBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view TrimKey(std::string_view text) {
    while (!text.empty() && IsKeyBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsKeyBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsHeader(std::string_view line) {
    return line.front() == '[' && line.back() == ']';
}

// "[[ROUTER]]" names ROUTER: every leading "[" and trailing "]" goes, blanks inside stay.
std::string_view HeaderName(std::string_view line) {
    const std::size_t first = line.find_first_not_of('[');
    if (first == std::string_view::npos) {
        return {};
    }
    line.remove_prefix(first);
    const std::size_t last = line.find_last_not_of(']');
    return last == std::string_view::npos ? std::string_view{} : line.substr(0, last + 1);
}

enum class FileRead { NotOpened, ToEnd, Failed };

FileRead ReadFileInto(const std::string& path, ConfigStore& store) {
    std::error_code ignored;
    if (path.empty() || std::filesystem::is_directory(path, ignored)) {
        return FileRead::NotOpened;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) {
        return FileRead::NotOpened;
    }
    ConfigParser parser(store);
    std::string chunk(kReadChunkBytes, '\0');
    std::size_t total = 0;
    for (;;) {
        file.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto got = static_cast<std::size_t>(file.gcount());
        if (file.bad()) {
            return FileRead::Failed;
        }
        total += got;
        if (total > kMaxConfigurationBytes) {
            return FileRead::Failed;
        }
        parser.Feed(std::string_view(chunk.data(), got));
        if (got < chunk.size()) {
            break;
        }
    }
    parser.Finish();
    return FileRead::ToEnd;
}

}  // namespace

MissingSetting::MissingSetting(std::string section, std::string key)
    : std::invalid_argument("no setting " + key + " in section [" + section + "]"),
      m_section(std::move(section)),
      m_key(std::move(key)) {}

const ConfigStore::Section* ConfigStore::SectionAt(int sectionIndex) const {
    if (sectionIndex < 0 || sectionIndex >= SectionCount()) {
        return nullptr;
    }
    return &m_sections[static_cast<std::size_t>(sectionIndex)];
}

int ConfigStore::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < m_sections.size(); ++i) {
        if (m_sections[i].name == section) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int ConfigStore::FindKey(std::string_view key, int sectionIndex) const {
    const Section* found = SectionAt(sectionIndex);
    if (!found) {
        return -1;
    }
    for (std::size_t i = 0; i < found->entries.size(); ++i) {
        if (found->entries[i].key == key) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool ConfigStore::StoreSetting(std::string_view section, std::string_view key,
                               std::string_view value, Create create) {
    int sectionIndex = FindSection(section);
    if (sectionIndex < 0) {
        if (create != Create::Yes) {
            return false;
        }
        m_sections.push_back({std::string(section), {}});
        sectionIndex = SectionCount() - 1;
    }
    auto& entries = m_sections[static_cast<std::size_t>(sectionIndex)].entries;
    const int keyIndex = FindKey(key, sectionIndex);
    if (keyIndex >= 0) {
        entries[static_cast<std::size_t>(keyIndex)].value = value;
        return true;
    }
    if (create != Create::Yes) {
        return false;
    }
    entries.push_back({std::string(key), std::string(value)});
    return true;
}

std::optional<std::string> ConfigStore::TryGetSetting(std::string_view section,
                                                      std::string_view key) const {
    const int sectionIndex = FindSection(section);
    const int keyIndex = FindKey(key, sectionIndex);
    if (keyIndex < 0) {
        return std::nullopt;
    }
    return Entries(sectionIndex)[static_cast<std::size_t>(keyIndex)].value;
}

const std::string& ConfigStore::SectionName(int sectionIndex) const {
    static const std::string kNone;
    const Section* found = SectionAt(sectionIndex);
    return found ? found->name : kNone;
}

const std::vector<ConfigStore::Entry>& ConfigStore::Entries(int sectionIndex) const {
    static const std::vector<Entry> kNone;
    const Section* found = SectionAt(sectionIndex);
    return found ? found->entries : kNone;
}

void ConfigParser::Feed(std::string_view bytes) {
    for (char c : bytes) {
        if (c == '\r') {
            continue;
        }
        if (c == '\n') {
            TakeLine();
        } else {
            m_line.push_back(c);
        }
    }
}

void ConfigParser::Finish() {
    TakeLine();
}

void ConfigParser::TakeLine() {
    const std::string_view line = m_line;
    if (line.empty()) {
        return;
    }
    if (IsHeader(line)) {
        m_section = HeaderName(line);
    } else {
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            // A line without "=" has no key; its value drops the first character.
            m_store.StoreSetting(m_section, {}, line.substr(1), ConfigStore::Create::Yes);
        } else {
            m_store.StoreSetting(m_section, TrimKey(line.substr(0, equals)),
                                 line.substr(equals + 1), ConfigStore::Create::Yes);
        }
    }
    m_line.clear();
}

int LoadConfigurationFile(const std::string& path, ConfigStore& store) {
    return ReadFileInto(path, store) == FileRead::ToEnd ? 1 : 0;
}

int LoadConfiguration() {
    for (const std::string& path : ConfigurationCandidates()) {
        const FileRead result = ReadFileInto(path, g_configuration);
        if (result != FileRead::NotOpened) {
            return result == FileRead::ToEnd ? 1 : 0;
        }
    }
    return 0;
}

int FindSection(std::string_view section) {
    return g_configuration.FindSection(section);
}

int FindKey(std::string_view key, int sectionIndex) {
    return g_configuration.FindKey(key, sectionIndex);
}

std::string GetSetting(std::string_view section, std::string_view key) {
    std::optional<std::string> value = g_configuration.TryGetSetting(section, key);
    if (!value) {
        throw MissingSetting(std::string(section), std::string(key));
    }
    return *value;
}

std::optional<std::string> TryGetSetting(std::string_view section, std::string_view key) {
    return g_configuration.TryGetSetting(section, key);
}

bool StoreSetting(std::string_view section, std::string_view key, std::string_view value,
                  ConfigStore::Create create) {
    return g_configuration.StoreSetting(section, key, value, create);
}
