// The unit's file directories: lists, saves, loads, deletes, file data for copies between
// units, and the file-system rebuild.
#include "sim/unit/StorageLists.h"
#include "sim/unit/UnitCommands.h"
#include "sim/unit/UnitStorage.h"

namespace {

constexpr uint8_t kRefused = 0x1C;  // no such file, directory full, data that is no file

struct DirectoryCommands {
    SimDirectory directory;
    SimList list;
    uint8_t listFirst;
    uint8_t listNext;
    uint8_t save;
    uint8_t load;
    uint8_t remove;
    uint8_t more;
    uint8_t last;
    uint8_t loaded;
    uint8_t deleted;
};

constexpr DirectoryCommands kMain{SimDirectory::Main,
                                  SimList::MainDirectory,
                                  0xC2,
                                  0xC6,
                                  0xCC,
                                  0x93,
                                  0xBE,
                                  0x43,
                                  0x44,
                                  0x1D,
                                  0x1B};
constexpr DirectoryCommands kUser{SimDirectory::User,
                                  SimList::UserDirectory,
                                  0xC3,
                                  0xC7,
                                  0xCD,
                                  0x99,
                                  0xBF,
                                  0x45,
                                  0x46,
                                  0x24,
                                  0x22};

const DirectoryCommands& ForCommand(uint8_t command) {
    const bool user = command == kUser.listFirst || command == kUser.listNext ||
                      command == kUser.save || command == kUser.load || command == kUser.remove;
    return user ? kUser : kMain;
}

constexpr uint8_t kStartFileData = 0x92;
constexpr uint8_t kNextFileData = 0x8E;
constexpr uint8_t kStartReceive = 0x91;
constexpr uint8_t kReceiveChunk = 0x8F;
constexpr uint8_t kRebuild = 0xEA;
constexpr uint8_t kEntrySaved = 0x00;
constexpr uint8_t kFileDataMore = 0x18;
constexpr uint8_t kFileDataLast = 0x19;
constexpr uint8_t kChunkTaken = 0x1B;
constexpr uint8_t kFileSystemRebuilt = 0x1B;
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
    return NextListPart(unit, commands.list, commands.more, commands.last);
}

std::optional<SimAnswer> SaveFile(SimUnit& unit, const SimRequest& request) {
    const DirectoryCommands& commands = ForCommand(request.Command());
    const std::vector<uint8_t> args(request.payload.begin() + 1, request.payload.end());
    const bool user = commands.directory == SimDirectory::User;
    const size_t needed = kSaveNameOffset + (user ? kSimNameField + kSimCustomMenuBody : 1);
    if (args.size() < needed) {
        return SimAnswer{kRefused, {}};
    }
    StoredFile file;
    file.id = static_cast<uint16_t>(args[0] << 8 | args[1]);
    file.context = args[3];
    file.name = NameFrom(args, kSaveNameOffset, user ? kSimNameField : args.size());
    for (int n = 0; n < 256; ++n) {
        file.values[static_cast<size_t>(n)] = unit.Value(n);
    }
    if (user) {
        const auto body =
            args.begin() + static_cast<std::ptrdiff_t>(kSaveNameOffset + kSimNameField);
        file.customMenus.assign(body, body + static_cast<std::ptrdiff_t>(kSimCustomMenuBody));
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
    return NextListPart(unit, SimList::FileData, kFileDataMore, kFileDataLast);
}

// The start of incoming file data is not answered.
std::optional<SimAnswer> StartReceive(SimUnit& unit, const SimRequest&) {
    unit.Storage().BeginReceive();
    return std::nullopt;
}

std::optional<SimAnswer> ReceiveChunk(SimUnit& unit, const SimRequest& request) {
    const std::vector<uint8_t> chunk(request.payload.begin() + 1, request.payload.end());
    return SimAnswer{unit.Storage().ReceiveChunk(chunk) ? kChunkTaken : kRefused, {}};
}

// The rebuild keeps the unit busy; its answer comes when it is done.
std::optional<SimAnswer> RebuildFileSystem(SimUnit& unit, const SimRequest&) {
    UnitStorage& storage = unit.Storage();
    const size_t files =
        storage.Directory(SimDirectory::Main).size() + storage.Directory(SimDirectory::User).size();
    const uint32_t rebuild_ms = kRebuildBase_ms + kRebuildPerFile_ms * static_cast<uint32_t>(files);
    unit.SetBusyKeepingValues(rebuild_ms);
    return SimAnswer{kFileSystemRebuilt, {}, rebuild_ms};
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
    table.Register(kStartFileData, StartFileData);
    table.Register(kNextFileData, NextFileData);
    table.Register(kStartReceive, StartReceive);
    table.Register(kReceiveChunk, ReceiveChunk);
    table.Register(kRebuild, RebuildFileSystem);
}
