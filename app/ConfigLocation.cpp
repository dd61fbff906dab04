#include "app/ConfigLocation.h"

#include <cstdlib>
#include <string_view>

namespace {

constexpr std::string_view kVendorFolder = "Korvanthe/KorvantheVCP";
constexpr std::string_view kFileName = "QN2.ini";
constexpr std::string_view kOption = "--config";

std::string& OverridePath() {
    static std::string path;
    return path;
}

#ifndef _WIN32
std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

bool IsAbsolute(const std::string& folder) {
    return !folder.empty() && folder.front() == '/';
}

std::string FileIn(const std::string& base) {
    std::string path = base;
    if (path.back() != '/') {
        path.push_back('/');
    }
    path.append(kVendorFolder).append("/").append(kFileName);
    return path;
}

std::string UserConfigFolder() {
    const std::string configured = Environment("XDG_CONFIG_HOME");
    if (IsAbsolute(configured)) {
        return configured;
    }
    const std::string home = Environment("HOME");
    return IsAbsolute(home) ? home + "/.config" : std::string();
}

std::vector<std::string> SystemConfigFolders() {
    std::string list = Environment("XDG_CONFIG_DIRS");
    if (list.empty()) {
        list = "/etc/xdg";
    }
    std::vector<std::string> folders;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(':', start);
        if (end == std::string::npos) {
            end = list.size();
        }
        std::string folder = list.substr(start, end - start);
        if (IsAbsolute(folder)) {
            folders.push_back(std::move(folder));
        }
        start = end + 1;
    }
    return folders;
}
#endif

}  // namespace

std::vector<std::string> ConfigurationSearchPaths() {
#ifdef _WIN32
    return {"\\Program Files\\Korvanthe\\KorvantheVCP\\QN2.ini",
            "\\Program Files (x86)\\Korvanthe\\KorvantheVCP\\QN2.ini"};
#else
    std::vector<std::string> paths;
    const std::string user = UserConfigFolder();
    if (!user.empty()) {
        paths.push_back(FileIn(user));
    }
    for (const std::string& folder : SystemConfigFolders()) {
        paths.push_back(FileIn(folder));
    }
    return paths;
#endif
}

std::vector<std::string> ConfigurationCandidates() {
    if (!OverridePath().empty()) {
        return {OverridePath()};
    }
    return ConfigurationSearchPaths();
}

void SetConfigurationOverride(const std::string& path) {
    OverridePath() = path;
}

void ClearConfigurationOverride() {
    OverridePath().clear();
}

const std::string& ConfigurationOverride() {
    return OverridePath();
}

ConfigArgument ApplyConfigArgument(const std::vector<std::string>& arguments) {
    std::string chosen;
    bool given = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == kOption) {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
                return ConfigArgument::MissingFile;
            }
            chosen = arguments[++i];
            given = true;
        } else if (argument.size() > kOption.size() &&
                   argument.substr(0, kOption.size()) == kOption &&
                   argument[kOption.size()] == '=') {
            chosen = std::string(argument.substr(kOption.size() + 1));
            if (chosen.empty()) {
                return ConfigArgument::MissingFile;
            }
            given = true;
        }
    }
    if (!given) {
        return ConfigArgument::Absent;
    }
    SetConfigurationOverride(chosen);
    return ConfigArgument::Applied;
}
