// Identification and version of a unit.
#include "sim/unit/UnitCommands.h"

namespace {

constexpr uint8_t kStatusAnswer = 0x40;
constexpr uint8_t kVersionAnswer = 0x3B;

std::optional<SimAnswer> Identify(SimUnit& unit, const SimRequest&) {
    const StatusData status = unit.TakeStatus();
    return SimAnswer{kStatusAnswer, std::vector<uint8_t>(status.begin(), status.end())};
}

std::optional<SimAnswer> ReadVersion(SimUnit& unit, const SimRequest&) {
    SimAnswer answer{kVersionAnswer, {}};
    AppendText(answer.data, unit.VersionText());
    return answer;
}

}  // namespace

void RegisterStatusCommands(CommandTable& table) {
    table.Register(kIdentifyCommand, Identify);
    table.Register(kReadVersionCommand, ReadVersion);
}
