#include "tests/support/TestPaths.h"

#include <filesystem>

std::string BinFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

std::string BuildProgram(const char* name) {
    return BinFolder() + "/" + name;
}

std::string ScreenshotFolder() {
    return VCP_BUILD_DIR "/screenshots";
}

std::string ManualPictureFolder() {
    return VCP_BUILD_DIR "/manual";
}

std::string SourceFile(const char* path) {
    return std::string(VCP_SOURCE_DIR "/") + path;
}
