#include "link/LockoutCommands.h"

#include <algorithm>
#include <span>

#include "link/CommandExchange.h"
#include "model/PanelModel.h"
#include "protocol/AnswerCodes.h"

uint8_t g_onAirLockTable[2][kLockTableSize];

namespace {

constexpr uint8_t kModelFunctionTableFirst = 4;

Status ReadLockTable(std::span<uint8_t, kLockTableSize> table) {
    AnswerBuffer answer{};
    const Status status =
        ExchangeExpecting(Command::ReadOnAirLockout, {}, kPatience10s, kCodeLockoutTable, answer);
    if (status != Status::Ok) {
        return status;
    }
    // A short answer would fill the rest with its checksum and zeros, which read as locked.
    if (AnswerDataCount(answer) < kLockTableSize) {
        return Status::WrongLength;
    }
    for (int k = 0; k < kLockTableSize; ++k) {
        table[k] = AnswerData(answer, k);
    }
    return Status::Ok;
}

struct ResetAtStart {
    ResetAtStart() { ResetOnAirLockTables(); }
} g_resetAtStart;

}  // namespace

Status ReadOnAirLockout() {
    const bool functionsFirst = g_unitStatus[kStatusByteModel] == kModelFunctionTableFirst;
    const int first = functionsFirst ? kFunctionLockTable : kKnobLockTable;
    const int second = functionsFirst ? kKnobLockTable : kFunctionLockTable;
    const Status status = ReadLockTable(g_onAirLockTable[first]);
    if (status != Status::Ok) {
        return status;
    }
    return ReadLockTable(g_onAirLockTable[second]);
}

void ResetOnAirLockTables() {
    for (auto& table : g_onAirLockTable) {
        std::fill(std::begin(table), std::end(table), kLockStateUnlocked);
    }
}
