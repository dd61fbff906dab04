// Identification and version of a unit.
#include "protocol/AnswerCodes.h"
#include "sim/unit/UnitCommands.h"

namespace {

constexpr uint8_t kVersionAnswer = 0x3B;

std::optional<SimAnswer> Identify(SimUnit& unit, const SimRequest&) {
    const StatusData status = unit.TakeStatus();
    return SimAnswer{kCodeIdentify, std::vector<uint8_t>(status.begin(), status.end())};
}

std::optional<SimAnswer> ReadVersion(SimUnit& unit, const SimRequest&) {
    SimAnswer answer{kVersionAnswer, {}};
    AppendText(answer.data, unit.VersionText());
    return answer;
}

}  // namespace

void RegisterStatusCommands(CommandTable& table) {
    table.Register(Command::IdentifyUnit, Identify);
    table.Register(Command::ReadVersionInfo, ReadVersion);
}
