// Directory lists, file data and the custom-menu restore of a load, from hostile answers.
#include <cstdlib>

#include "fuzz/storage_fuzz_line.h"
#include "link/FileCommands.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const FileKind kind = data[0] & 1 ? FileKind::User : FileKind::Main;
    storage_fuzz::ScriptedLine line({data + 1, size - 1});
    static_cast<void>(ReadFileList(kind));
    const FileDirectory& directory = DirectoryOf(kind);
    if (directory.count < 0 || directory.count > kDirectoryMaxCount || directory.stored < 0 ||
        directory.stored > kDirectorySlots || directory.count > directory.stored) {
        std::abort();
    }
    static_cast<void>(ReadFileData(data[0]));
    if (g_transferBuffer.length < 0 || g_transferBuffer.length > kTransferBufferSize) {
        std::abort();
    }
    static_cast<void>(LoadFile(FileKind::User, data[0]));
    for (int menu = 0; menu < kCustomMenuCount; ++menu) {
        for (uint8_t offset : g_customFunctionMap[1][menu]) {
            if (offset == 0xFF) {
                std::abort();  // an empty button is always stored as 127
            }
        }
    }
    return 0;
}
