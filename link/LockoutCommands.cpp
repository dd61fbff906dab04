#include "link/LockoutCommands.h"

#include <algorithm>

#include "link/CommandExchange.h"
#include "model/PanelModel.h"

uint8_t g_onAirLockTable[2][kLockTableSize];

namespace {

constexpr uint8_t kCommandReadLockout = 0xB9;
constexpr uint32_t kLockoutTries = kTries10k;
constexpr uint8_t kModelFunctionTableFirst = 4;

int ReadLockTable(uint8_t* table) {
    AnswerBuffer answer{};
    const int status =
        ExchangeExpecting({kCommandReadLockout}, kLockoutTries, kCodeLockoutTable, answer);
    if (status == kStatusOk) {
        for (int k = 0; k < kLockTableSize; ++k) {
            table[k] = AnswerData(answer.data(), k);
        }
    }
    return status;
}

struct ResetAtStart {
    ResetAtStart() { ResetOnAirLockTables(); }
} g_resetAtStart;

}  // namespace

int ReadOnAirLockout() {
    const bool functionsFirst = g_unitStatus[kStatusByteModel] == kModelFunctionTableFirst;
    const int first = functionsFirst ? kFunctionLockTable : kKnobLockTable;
    const int second = functionsFirst ? kKnobLockTable : kFunctionLockTable;
    const int status = ReadLockTable(g_onAirLockTable[first]);
    if (status != kStatusOk) {
        return status;
    }
    return ReadLockTable(g_onAirLockTable[second]);
}

void ResetOnAirLockTables() {
    for (auto& table : g_onAirLockTable) {
        std::fill(std::begin(table), std::end(table), kLockStateUnlocked);
    }
}
