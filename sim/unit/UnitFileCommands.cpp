// The unit's file directories: lists, saves, loads, deletes, file data for copies between
// units, and the file-system rebuild.
#include "protocol/AnswerCodes.h"
#include "protocol/Files.h"
#include "protocol/Lists.h"
#include "sim/unit/StorageLists.h"
#include "sim/unit/UnitCommands.h"
#include "sim/unit/UnitStorage.h"

namespace {

constexpr uint8_t kRefused = 0x1C;  // no such file, directory full, data that is no file

struct DirectoryCommands {
    SimDirectory directory;
    SimList list;
    Command listFirst;
    Command listNext;
    Command save;
    Command load;
    Command remove;
    ListCodes codes;
    uint8_t loaded;
    uint8_t deleted;
};

constexpr DirectoryCommands kMain{SimDirectory::Main,
                                  SimList::MainDirectory,
                                  Command::ReadFileListMainFirst,
                                  Command::ReadFileListMainFollowUp,
                                  Command::WriteFileEntryMain,
                                  Command::LoadFileMain,
                                  Command::DeleteFileMain,
                                  kMainDirectoryCodes,
                                  kCodeFileLoadedMain,
                                  kCodeFileDeletedMain};
constexpr DirectoryCommands kUser{SimDirectory::User,
                                  SimList::UserDirectory,
                                  Command::ReadFileListUserFirst,
                                  Command::ReadFileListUserFollowUp,
                                  Command::WriteFileEntryUser,
                                  Command::LoadFileUser,
                                  Command::DeleteFileUser,
                                  kUserDirectoryCodes,
                                  kCodeFileLoadedUser,
                                  kCodeFileDeletedUser};

const DirectoryCommands& ForCommand(uint8_t byte) {
    const auto command = static_cast<Command>(byte);
    const bool user = command == kUser.listFirst || command == kUser.listNext ||
                      command == kUser.save || command == kUser.load || command == kUser.remove;
    return user ? kUser : kMain;
}

constexpr uint8_t kEntrySaved = 0x00;
constexpr uint32_t kRebuildBase_ms = 400;
constexpr uint32_t kRebuildPerFile_ms = 20;

// Save: id high, id low, 00, context, then the name (main: zero-ended; user: 24 bytes and
// the 201-byte custom-menu body).
constexpr size_t kSaveNameOffset = 4;

std::optional<SimAnswer> StartDirectoryList(SimUnit& unit, const SimRequest& request) {
    const DirectoryCommands& commands = ForCommand(request.Command());
    UnitStorage& storage = unit.Storage();
    return StartList(storage, commands.list, storage.DirectoryList(commands.directory));
}

std::optional<SimAnswer> NextDirectoryPart(SimUnit& unit, const SimRequest& request) {
    const DirectoryCommands& commands = ForCommand(request.Command());
    return NextListPart(unit, commands.list, commands.codes.more, commands.codes.last);
}

std::optional<SimAnswer> SaveFile(SimUnit& unit, const SimRequest& request) {
    const DirectoryCommands& commands = ForCommand(request.Command());
    const std::vector<uint8_t> args(request.payload.begin() + 1, request.payload.end());
    const bool user = commands.directory == SimDirectory::User;
    const size_t needed = kSaveNameOffset + (user ? kNameBytes + kCustomMenuBodySize : 1);
    if (args.size() < needed) {
        return SimAnswer{kRefused, {}};
    }
    StoredFile file;
    file.id = static_cast<uint16_t>(args[0] << 8 | args[1]);
    file.context = args[3];
    file.name = NameFrom(args, kSaveNameOffset, user ? kNameBytes : args.size());
    for (int n = 0; n < 256; ++n) {
        file.values[static_cast<size_t>(n)] = unit.Value(n);
    }
    if (user) {
        const auto body = args.begin() + static_cast<std::ptrdiff_t>(kSaveNameOffset + kNameBytes);
        file.customMenus.assign(body, body + kCustomMenuBodySize);
    }
    const bool stored = unit.Storage().Store(commands.directory, std::move(file));
    return SimAnswer{stored ? kEntrySaved : kRefused, {}};
}

// Restores the values twice, so a value that a coupled one moved ends where it was saved.
void RestoreValues(SimUnit& unit, const StoredFile& file) {
    for (int pass = 0; pass < 2; ++pass) {
        for (int n = 0; n < 256; ++n) {
            if (unit.IsDefined(n) && unit.Value(n) != file.values[static_cast<size_t>(n)]) {
                unit.ChangeLocally(n, file.values[static_cast<size_t>(n)]);
            }
        }
    }
}

std::optional<SimAnswer> LoadFile(SimUnit& unit, const SimRequest& request) {
    const DirectoryCommands& commands = ForCommand(request.Command());
    const StoredFile* file = unit.Storage().FindByLowId(commands.directory, request.Arg(0));
    if (!file) {
        return SimAnswer{kRefused, {}};
    }
    RestoreValues(unit, *file);
    return SimAnswer{commands.loaded, file->customMenus};
}

std::optional<SimAnswer> DeleteFile(SimUnit& unit, const SimRequest& request) {
    const DirectoryCommands& commands = ForCommand(request.Command());
    const uint16_t id = static_cast<uint16_t>(request.Arg(0) << 8 | request.Arg(1));
    const bool removed = unit.Storage().Remove(commands.directory, id);
    return SimAnswer{removed ? commands.deleted : kRefused, {}};
}

std::optional<SimAnswer> StartFileData(SimUnit& unit, const SimRequest& request) {
    UnitStorage& storage = unit.Storage();
    const StoredFile* file = storage.FindByLowId(SimDirectory::Main, request.Arg(0));
    if (!file) {
        return SimAnswer{kRefused, {}};
    }
    return StartList(storage, SimList::FileData, UnitStorage::EncodeFile(*file));
}

std::optional<SimAnswer> NextFileData(SimUnit& unit, const SimRequest&) {
    return NextListPart(unit, SimList::FileData, kFileDataCodes.more, kFileDataCodes.last);
}

// The start of incoming file data is not answered.
std::optional<SimAnswer> StartReceive(SimUnit& unit, const SimRequest&) {
    unit.Storage().BeginReceive();
    return std::nullopt;
}

std::optional<SimAnswer> ReceiveChunk(SimUnit& unit, const SimRequest& request) {
    const std::vector<uint8_t> chunk(request.payload.begin() + 1, request.payload.end());
    return SimAnswer{unit.Storage().ReceiveChunk(chunk) ? kCodeChunkTaken : kRefused, {}};
}

// The rebuild keeps the unit busy; its answer comes when it is done.
std::optional<SimAnswer> RebuildFileSystem(SimUnit& unit, const SimRequest&) {
    UnitStorage& storage = unit.Storage();
    const size_t files =
        storage.Directory(SimDirectory::Main).size() + storage.Directory(SimDirectory::User).size();
    const uint32_t rebuild_ms = kRebuildBase_ms + kRebuildPerFile_ms * static_cast<uint32_t>(files);
    unit.SetBusyKeepingValues(rebuild_ms);
    return SimAnswer{kCodeFileSystemUpdated, {}, rebuild_ms};
}

}  // namespace

void RegisterFileCommands(CommandTable& table) {
    for (const DirectoryCommands& commands : {kMain, kUser}) {
        table.Register(commands.listFirst, StartDirectoryList);
        table.Register(commands.listNext, NextDirectoryPart);
        table.Register(commands.save, SaveFile);
        table.Register(commands.load, LoadFile);
        table.Register(commands.remove, DeleteFile);
    }
    table.Register(Command::ReadFileDataFirst, StartFileData);
    table.Register(Command::ReadFileDataFollowUp, NextFileData);
    table.Register(Command::WriteFileDataStart, StartReceive);
    table.Register(Command::WriteFileDataChunk, ReceiveChunk);
    table.Register(Command::UpdateFileSystem, RebuildFileSystem);
}
