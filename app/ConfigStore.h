#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The configuration read from QN2.ini: sections of key = value strings, in order of first
// appearance. Section and key names match exactly (case-sensitive). The program never writes
// the file; the store lives only in memory. Names are found through a hash index, so a file
// of many thousand settings reads in time proportional to its size.
class ConfigStore {
  public:
    enum class Create { No, Yes };

    // Index of the section, or -1.
    int FindSection(std::string_view section) const;
    // Index of the key within section `sectionIndex`, or -1 (also for a section of -1).
    int FindKey(std::string_view key, int sectionIndex) const;
    // Finds or (with Create::Yes) appends the section and the key, then sets the value.
    // Without Create::Yes a missing section or key stores nothing and returns false.
    bool StoreSetting(std::string_view section, std::string_view key, std::string_view value,
                      Create create);
    // The value, or nothing when the section or the key is missing.
    std::optional<std::string> TryGetSetting(std::string_view section, std::string_view key) const;

    int SectionCount() const { return static_cast<int>(m_sections.size()); }
    const std::string& SectionName(int sectionIndex) const;
    // Keys of a section with their values, in file order.
    struct Entry {
        std::string key;
        std::string value;
    };
    const std::vector<Entry>& Entries(int sectionIndex) const;

    void Clear();

  private:
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const {
            return std::hash<std::string_view>{}(name);
        }
    };
    // Positions by name, looked up with a string_view without making a string.
    using NameIndex = std::unordered_map<std::string, int, NameHash, std::equal_to<>>;
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        NameIndex keys;
    };
    const Section* SectionAt(int sectionIndex) const;

    std::vector<Section> m_sections;
    NameIndex m_sectionIndex;
};

// Raised by GetSetting for a section or key the file does not have.
class MissingSetting : public std::invalid_argument {
  public:
    MissingSetting(std::string section, std::string key);
    const std::string& Section() const { return m_section; }
    const std::string& Key() const { return m_key; }

  private:
    std::string m_section;
    std::string m_key;
};

// Splits the file's bytes into lines and stores each header and setting. Bytes may arrive in
// pieces of any size; Finish takes the last line, which needs no line feed.
class ConfigParser {
  public:
    explicit ConfigParser(ConfigStore& store) : m_store(store) {}
    void Feed(std::string_view bytes);
    void Finish();

  private:
    void TakeLine(std::string_view line);

    ConfigStore& m_store;
    std::string m_line;
    std::string m_section;  // settings before the first header go to the empty name
};

// The program-wide store, empty at start.
extern ConfigStore g_configuration;

// Reads the first configuration file found (see ConfigLocation.h) into g_configuration.
// Returns 1 when a file was read to its end, else 0; settings read before a failure stay.
int LoadConfiguration();
// Reads one file into `store`; same result as LoadConfiguration.
int LoadConfigurationFile(const std::string& path, ConfigStore& store);

int FindSection(std::string_view section);
int FindKey(std::string_view key, int sectionIndex);
// The value; throws MissingSetting when the section or the key is missing.
std::string GetSetting(std::string_view section, std::string_view key);
std::optional<std::string> TryGetSetting(std::string_view section, std::string_view key);
bool StoreSetting(std::string_view section, std::string_view key, std::string_view value,
                  ConfigStore::Create create);
