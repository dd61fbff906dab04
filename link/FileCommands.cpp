#include "link/FileCommands.h"

#include <algorithm>
#include <vector>

#include "link/CollectedList.h"
#include "link/CommandExchange.h"
#include "link/UnitCommands.h"
#include "model/PanelModel.h"
#include "platform/Clock.h"

namespace {

struct KindCommands {
    uint8_t listFirst;
    uint8_t listFollowUp;
    ListCodes listCodes;
    uint8_t writeEntry;
    uint8_t load;
    uint8_t loadCode;
    uint8_t remove;
    uint8_t removeCode;
};

constexpr KindCommands kMainCommands{0xC2, 0xC6, {0x43, 0x44}, 0xCC, 0x93, 0x1D, 0xBE, 0x1B};
constexpr KindCommands kUserCommands{0xC3, 0xC7, {0x45, 0x46}, 0xCD, 0x99, 0x24, 0xBF, 0x22};

const KindCommands& CommandsOf(FileKind kind) {
    return kind == FileKind::User ? kUserCommands : kMainCommands;
}

constexpr uint8_t kCommandReadDataFirst = 0x92;
constexpr uint8_t kCommandReadDataFollowUp = 0x8E;
constexpr ListCodes kFileDataCodes{0x18, 0x19};
constexpr uint8_t kCommandWriteDataStart = 0x91;
constexpr uint8_t kWriteDataStartArgument = 0xFF;
constexpr uint8_t kCommandWriteDataChunk = 0x8F;
constexpr uint8_t kCodeChunkTaken = 0x1B;
constexpr uint8_t kCodeChunkTakenAlso = 0x00;
constexpr uint8_t kCommandUpdateFileSystem = 0xEA;
constexpr uint8_t kCodeFileSystemUpdated = 0x1B;

constexpr uint32_t kListTries = kTries10k;
constexpr uint32_t kWriteEntryTries = kTries10k;
constexpr uint32_t kLoadTries = kTries100k;
constexpr uint32_t kDeleteTries = kTries100k;
constexpr uint32_t kDataTries = kTries10k;
constexpr uint32_t kUpdateTries = kTries2M;
constexpr uint32_t kWriteDataSettle_ms = 100;

constexpr uint8_t kEmptyButtonOnWire = 0xFF;
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

int ReadFileList(FileKind kind) {
    const KindCommands& commands = CommandsOf(kind);
    std::array<uint8_t, kDirectoryBufferSize> collected{};
    ListCollector collector(collected);
    const int status = ReadCollectedList({commands.listFirst}, commands.listFollowUp,
                                         commands.listCodes, kListTries, collector);
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

int WriteFileEntry(uint16_t fileId, const std::string& name, uint8_t saveContext, FileKind kind) {
    const std::string sent = name.substr(0, kMaxNameLength);
    std::vector<uint8_t> payload{CommandsOf(kind).writeEntry, High(fileId), Low(fileId), 0x00,
                                 saveContext};
    if (kind == FileKind::Main) {
        payload.insert(payload.end(), sent.begin(), sent.end());
        payload.push_back(0x00);
    } else {
        const NameField field = MakeNameField(sent);
        payload.insert(payload.end(), field.begin(), field.end());
        const auto body = CustomMenuBody(SelectedUnitSlot());
        payload.insert(payload.end(), body.begin(), body.end());
    }
    AnswerBuffer answer{};
    return Exchange(payload, kWriteEntryTries, answer);
}

int LoadFile(FileKind kind, uint8_t fileIdLow) {
    const KindCommands& commands = CommandsOf(kind);
    AnswerBuffer answer{};
    const int status =
        ExchangeExpecting({commands.load, fileIdLow}, kLoadTries, commands.loadCode, answer);
    if (status != kStatusOk || kind != FileKind::User) {
        return status;
    }
    if (AnswerDataCount(answer.data()) < kCustomMenuDataNeeded) {
        return kStatusWrongLength;
    }
    RestoreCustomMenus(SelectedUnitSlot(),
                       std::span<const uint8_t>(answer).subspan(
                           kAnswerData, static_cast<size_t>(AnswerDataCount(answer.data()))));
    return kStatusOk;
}

int DeleteFile(FileKind kind, uint16_t fileId) {
    const KindCommands& commands = CommandsOf(kind);
    AnswerBuffer answer{};
    return ExchangeExpecting({commands.remove, High(fileId), Low(fileId)}, kDeleteTries,
                             commands.removeCode, answer);
}

int ReadFileData(uint8_t fileIdLow) {
    // Whatever the buffer held belongs to another file now, even if this read fails early.
    g_transferBuffer.complete = false;
    ListCollector collector(g_transferBuffer.bytes);
    const int status =
        ReadCollectedList({kCommandReadDataFirst, fileIdLow}, kCommandReadDataFollowUp,
                          kFileDataCodes, kDataTries, collector);
    if (collector.Started()) {
        g_transferBuffer.length = static_cast<int32_t>(collector.Size());
    }
    g_transferBuffer.complete = status == kStatusOk;
    return status;
}

int WriteFileData(uint8_t targetAddress) {
    // Part of a file would reach the other unit as if it were the whole.
    if (!g_transferBuffer.complete) {
        return kStatusWrongLength;
    }
    UnitStatus targetStatus{};
    IdentifyUnit(targetAddress, targetStatus);
    const uint8_t start[] = {RequestAddress(targetAddress), 2, kCommandWriteDataStart,
                             kWriteDataStartArgument};
    int status = SendPacket(start);
    if (status != kStatusOk) {
        return status;
    }
    Wait(kWriteDataSettle_ms);

    const size_t length =
        static_cast<size_t>(std::clamp<int32_t>(g_transferBuffer.length, 0, kTransferBufferSize));
    size_t sent = 0;
    do {
        const size_t chunk = std::min<size_t>(kFileChunkSize, length - sent);
        std::vector<uint8_t> payload{kCommandWriteDataChunk};
        payload.insert(payload.end(), g_transferBuffer.bytes.begin() + sent,
                       g_transferBuffer.bytes.begin() + sent + chunk);
        AnswerBuffer answer{};
        status = ExchangeWith(targetAddress, payload, kDataTries, answer);
        if (status != kStatusOk) {
            return status;
        }
        const int code = AnswerCode(answer.data());
        if (code != kCodeChunkTaken && code != kCodeChunkTakenAlso) {
            return kStatusWrongCode;
        }
        sent += chunk;
    } while (sent < length);
    return kStatusOk;
}

int UpdateFileSystem(uint8_t unitAddress) {
    return UpdateFileSystem(unitAddress, kUpdateTries);
}

int UpdateFileSystem(uint8_t unitAddress, uint32_t answerTries) {
    UnitStatus status{};
    if (IdentifyUnit(unitAddress, status) != kStatusOk) {
        return kStatusOk;
    }
    AnswerBuffer answer{};
    const int result = ExchangeWith(unitAddress, {kCommandUpdateFileSystem}, answerTries, answer);
    return result != kStatusOk ? result : ExpectCode(answer, kCodeFileSystemUpdated);
}
