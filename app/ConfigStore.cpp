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
    if (create == Create::Yes) {
        return StoreInSection(FindOrAddSection(section), key, value);
    }
    const int sectionIndex = FindSection(section);
    const int keyIndex = FindKey(key, sectionIndex);
    if (keyIndex < 0) {
        return false;
    }
    m_sections[static_cast<std::size_t>(sectionIndex)]
        .entries[static_cast<std::size_t>(keyIndex)]
        .value = value;
    return true;
}

int ConfigStore::FindOrAddSection(std::string_view section) {
    const int found = FindSection(section);
    if (found >= 0) {
        return found;
    }
    m_sections.push_back({std::string(section), {}});
    return SectionCount() - 1;
}

bool ConfigStore::StoreInSection(int sectionIndex, std::string_view key, std::string_view value) {
    if (sectionIndex < 0 || sectionIndex >= SectionCount()) {
        return false;
    }
    auto& entries = m_sections[static_cast<std::size_t>(sectionIndex)].entries;
    const int keyIndex = FindKey(key, sectionIndex);
    if (keyIndex >= 0) {
        entries[static_cast<std::size_t>(keyIndex)].value = value;
    } else {
        entries.push_back({std::string(key), std::string(value)});
    }
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
