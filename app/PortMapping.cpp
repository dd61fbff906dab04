#include "app/PortMapping.h"

#include <string_view>

#include "app/ConfigStore.h"
#include "platform/PortNames.h"

namespace {

constexpr std::string_view kPortSection = "COMPORTS";
constexpr int kLastComNumber = 16;

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

}  // namespace

int ApplyPortSection(const ConfigStore& store, PortNameMap& names) {
    names.ClearOverrides();
    const int section = store.FindSection(kPortSection);
    int applied = 0;
    for (const ConfigStore::Entry& entry : store.Entries(section)) {
        const int number = ComNumberOf(entry.key);
        const std::string_view device = TrimBlanks(entry.value);
        if (number < 1 || number > kLastComNumber || device.empty()) {
            continue;
        }
        names.SetOverride(number, std::string(device));
        ++applied;
    }
    return applied;
}

int ApplyConfiguredPorts() {
    return ApplyPortSection(g_configuration, PortNames());
}
