// The on-air lock-out tables: read as two answers in a row, set one control at a time.
#include "protocol/AnswerCodes.h"
#include "sim/unit/UnitCommands.h"

namespace {

constexpr uint8_t kLockoutRefused = 0x01;

std::optional<SimAnswer> ReadLockout(SimUnit& unit, const SimRequest&) {
    // Odd reads in a row carry the first table, even ones the second.
    const bool firstTable = unit.RepeatCount() % 2 == 1;
    const bool functions = firstTable == unit.Model().lockoutFunctionsFirst;
    const int base = functions ? kFirstFunctionNumber : 0;
    SimAnswer answer{kCodeLockoutTable, {}};
    for (int i = 0; i < kLockTableSize; ++i) {
        answer.data.push_back(unit.LockState(base + i));
    }
    return answer;
}

std::optional<SimAnswer> SetLockout(SimUnit& unit, const SimRequest& request) {
    if (request.ArgCount() != 2) {
        return std::nullopt;
    }
    const bool done = unit.SetLockState(request.Arg(0), request.Arg(1));
    return SimAnswer{done ? kCodeLockoutSet : kLockoutRefused, {}};
}

}  // namespace

void RegisterLockoutCommands(CommandTable& table) {
    table.Register(Command::ReadOnAirLockout, ReadLockout);
    table.Register(Command::SetOnAirLockout, SetLockout);
}
