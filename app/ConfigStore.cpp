#include "app/ConfigStore.h"

ConfigStore g_configuration;

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

void ConfigStore::Clear() {
    m_sections.clear();
    m_sectionIndex.clear();
}

int ConfigStore::FindSection(std::string_view section) const {
    const auto found = m_sectionIndex.find(section);
    return found == m_sectionIndex.end() ? -1 : found->second;
}

int ConfigStore::FindKey(std::string_view key, int sectionIndex) const {
    const Section* section = SectionAt(sectionIndex);
    if (!section) {
        return -1;
    }
    const auto found = section->keys.find(key);
    return found == section->keys.end() ? -1 : found->second;
}

bool ConfigStore::StoreSetting(std::string_view section, std::string_view key,
                               std::string_view value, Create create) {
    int sectionIndex = FindSection(section);
    if (sectionIndex < 0) {
        if (create != Create::Yes) {
            return false;
        }
        sectionIndex = SectionCount();
        m_sections.push_back({std::string(section), {}, {}});
        m_sectionIndex.emplace(section, sectionIndex);
    }
    Section& found = m_sections[static_cast<std::size_t>(sectionIndex)];
    const auto keyIndex = found.keys.find(key);
    if (keyIndex != found.keys.end()) {
        found.entries[static_cast<std::size_t>(keyIndex->second)].value = value;
        return true;
    }
    if (create != Create::Yes) {
        return false;
    }
    found.keys.emplace(key, static_cast<int>(found.entries.size()));
    found.entries.push_back({std::string(key), std::string(value)});
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
