#include "link/FileCommands.h"

#include <algorithm>
#include <vector>

#include "link/CollectedList.h"
#include "link/CommandExchange.h"
#include "link/UnitCommands.h"
#include "model/PanelModel.h"
#include "platform/Clock.h"
#include "protocol/AnswerCodes.h"

namespace {

struct KindCommands {
    Command listFirst;
    Command listFollowUp;
    ListCodes listCodes;
    Command writeEntry;
    Command load;
    uint8_t loadCode;
    Command remove;
    uint8_t removeCode;
};

constexpr KindCommands kMainCommands{Command::ReadFileListMainFirst,
                                     Command::ReadFileListMainFollowUp,
                                     kMainDirectoryCodes,
                                     Command::WriteFileEntryMain,
                                     Command::LoadFileMain,
                                     kCodeFileLoadedMain,
                                     Command::DeleteFileMain,
                                     kCodeFileDeletedMain};
constexpr KindCommands kUserCommands{Command::ReadFileListUserFirst,
                                     Command::ReadFileListUserFollowUp,
                                     kUserDirectoryCodes,
                                     Command::WriteFileEntryUser,
                                     Command::LoadFileUser,
                                     kCodeFileLoadedUser,
                                     Command::DeleteFileUser,
                                     kCodeFileDeletedUser};

const KindCommands& CommandsOf(FileKind kind) {
    return kind == FileKind::User ? kUserCommands : kMainCommands;
}

constexpr uint8_t kWriteDataStartArgument = 0xFF;
constexpr uint32_t kWriteDataSettle_ms = 100;
// The load answer must reach the last function slot of the fourth block.
constexpr int kCustomMenuDataNeeded =
    (kCustomMenuBlocks - 1) * kCustomMenuBlockSize + kBlockFunctionOffset + kFunctionButtonCount;

uint8_t High(uint16_t value) {
    return static_cast<uint8_t>(value >> 8);
}
uint8_t Low(uint16_t value) {
    return static_cast<uint8_t>(value & 0xFF);
}

int SelectedUnitSlot() {
    return UnitOfAddress(g_currentUnitAddress);
}

}  // namespace

Status ReadFileList(FileKind kind) {
    const KindCommands& commands = CommandsOf(kind);
    std::array<uint8_t, kDirectoryBufferSize> collected{};
    ListCollector collector(collected);
    const Status status = ReadCollectedList(commands.listFirst, commands.listFollowUp, {},
                                            commands.listCodes, kPatience10s, collector);
    // A list cut short by the unit's flood still fills the table with what fit.
    if (ListArrived(status, collector)) {
        StoreDirectory(collector.Bytes(), DirectoryOf(kind));
    }
    return status;
}

std::array<uint8_t, kCustomMenuBodySize> CustomMenuBody(int unit) {
    std::array<uint8_t, kCustomMenuBodySize> body{};
    for (int k = 0; k < kCustomMenuBlocks; ++k) {
        uint8_t* block = body.data() + k * kCustomMenuBlockSize;
        std::copy_n(g_customKnobMap[unit][k + 1], kKnobCount, block + kBlockKnobOffset);
        std::copy_n(g_customFunctionMap[unit][k + 1], kFunctionButtonCount,
                    block + kBlockFunctionOffset);
    }
    return body;
}

void RestoreCustomMenus(int unit, std::span<const uint8_t> data) {
    if (data.size() < static_cast<size_t>(kCustomMenuDataNeeded)) {
        return;
    }
    for (int k = 0; k < kCustomMenuBlocks; ++k) {
        const uint8_t* block = data.data() + k * kCustomMenuBlockSize;
        std::copy_n(block + kBlockKnobOffset, kKnobCount, g_customKnobMap[unit][k + 1]);
        for (int i = 0; i < kFunctionButtonCount; ++i) {
            const uint8_t offset = block[kBlockFunctionOffset + i];
            g_customFunctionMap[unit][k + 1][i] =
                offset == kEmptyButtonOnWire ? kEmptyFunctionOffset : offset;
        }
    }
}

Status WriteFileEntry(uint16_t fileId, const std::string& name, uint8_t saveContext,
                      FileKind kind) {
    const std::string sent = name.substr(0, kMaxNameLength);
    std::vector<uint8_t> arguments{High(fileId), Low(fileId), 0x00, saveContext};
    if (kind == FileKind::Main) {
        arguments.insert(arguments.end(), sent.begin(), sent.end());
        arguments.push_back(0x00);
    } else {
        const NameField field = MakeNameField(sent);
        arguments.insert(arguments.end(), field.begin(), field.end());
        const auto body = CustomMenuBody(SelectedUnitSlot());
        arguments.insert(arguments.end(), body.begin(), body.end());
    }
    AnswerBuffer answer{};
    return Exchange(CommandsOf(kind).writeEntry, arguments, kPatience60s, answer);
}

Status LoadFile(FileKind kind, uint8_t fileIdLow) {
    const KindCommands& commands = CommandsOf(kind);
    AnswerBuffer answer{};
    const Status status =
        ExchangeExpecting(commands.load, {fileIdLow}, kPatience60s, commands.loadCode, answer);
    if (status != Status::Ok || kind != FileKind::User) {
        return status;
    }
    if (AnswerDataCount(answer) < kCustomMenuDataNeeded) {
        return Status::WrongLength;
    }
    RestoreCustomMenus(SelectedUnitSlot(),
                       std::span<const uint8_t>(answer).subspan(
                           kAnswerData, static_cast<size_t>(AnswerDataCount(answer))));
    return Status::Ok;
}

Status DeleteFile(FileKind kind, uint16_t fileId) {
    const KindCommands& commands = CommandsOf(kind);
    AnswerBuffer answer{};
    return ExchangeExpecting(commands.remove, {High(fileId), Low(fileId)}, kPatience60s,
                             commands.removeCode, answer);
}

Status ReadFileData(uint8_t fileIdLow) {
    // Whatever the buffer held belongs to another file now, even if this read fails early.
    g_transferBuffer.complete = false;
    ListCollector collector(g_transferBuffer.bytes);
    const uint8_t arguments[] = {fileIdLow};
    const Status status =
        ReadCollectedList(Command::ReadFileDataFirst, Command::ReadFileDataFollowUp, arguments,
                          kFileDataCodes, kPatience10s, collector);
    if (collector.Started()) {
        g_transferBuffer.length = static_cast<int32_t>(collector.Size());
    }
    g_transferBuffer.complete = status == Status::Ok;
    return status;
}

Status WriteFileData(uint8_t targetAddress) {
    // Part of a file would reach the other unit as if it were the whole.
    if (!g_transferBuffer.complete) {
        return Status::WrongLength;
    }
    // An absent target shows itself at the first chunk.
    UnitStatus targetStatus{};
    static_cast<void>(IdentifyUnit(targetAddress, targetStatus));
    Status status =
        SendRequestTo(targetAddress, Command::WriteFileDataStart, {kWriteDataStartArgument});
    if (status != Status::Ok) {
        return status;
    }
    Wait(kWriteDataSettle_ms);

    const size_t length =
        static_cast<size_t>(std::clamp<int32_t>(g_transferBuffer.length, 0, kTransferBufferSize));
    size_t sent = 0;
    do {
        const size_t chunk = std::min<size_t>(kFileChunkSize, length - sent);
        const auto data = std::span<const uint8_t>(g_transferBuffer.bytes).subspan(sent, chunk);
        AnswerBuffer answer{};
        status =
            ExchangeWith(targetAddress, Command::WriteFileDataChunk, data, kPatience60s, answer);
        if (status != Status::Ok) {
            return status;
        }
        const int code = AnswerCode(answer);
        if (code != kCodeChunkTaken && code != kCodeChunkTakenAlso) {
            return Status::WrongCode;
        }
        sent += chunk;
    } while (sent < length);
    return Status::Ok;
}

Status UpdateFileSystem(uint8_t unitAddress) {
    UnitStatus status{};
    if (IdentifyUnit(unitAddress, status) != Status::Ok) {
        return Status::Ok;
    }
    AnswerBuffer answer{};
    const Status result =
        ExchangeWith(unitAddress, Command::UpdateFileSystem, {}, kPatience5min, answer);
    return result != Status::Ok ? result : ExpectCode(answer, kCodeFileSystemUpdated);
}
