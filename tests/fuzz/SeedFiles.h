#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

// The seed files of a fuzz target's corpus (fuzz/corpus/<target>), in name order.
inline std::vector<std::filesystem::path> Seeds(const char* target) {
    std::vector<std::filesystem::path> files;
    const auto folder = std::filesystem::path(VCP_FUZZ_CORPUS_DIR) / target;
    if (std::filesystem::is_directory(folder)) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

inline std::vector<uint8_t> Contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
