// Reading QN2.ini from disk into a store.
#include <filesystem>
#include <fstream>

#include "app/ConfigLocation.h"
#include "app/ConfigStore.h"

namespace {

// A configuration file is a few hundred bytes; anything past this is not one (a device,
// a wrong path given on the command line) and is not read on.
constexpr std::size_t kMaxConfigurationBytes = 1024 * 1024;
constexpr std::size_t kReadChunkBytes = 4096;

enum class FileRead { NotOpened, ToEnd, Failed };

// Settings of the lines read before a failure stay in the store.
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

int LoadConfigurationFile(const std::string& path, ConfigStore& store) {
    return ReadFileInto(path, store) == FileRead::ToEnd ? 1 : 0;
}

int LoadConfiguration() {
    // The first file that opens is the one read, whether or not it reads to its end.
    for (const std::string& path : ConfigurationCandidates()) {
        const FileRead result = ReadFileInto(path, g_configuration);
        if (result != FileRead::NotOpened) {
            return result == FileRead::ToEnd ? 1 : 0;
        }
    }
    return 0;
}
