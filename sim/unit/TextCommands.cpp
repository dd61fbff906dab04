// The settings label, unit messages and the master's replies to them.
#include "protocol/AnswerCodes.h"
#include "sim/unit/UnitCommands.h"

namespace {

std::optional<SimAnswer> ReadSettingsLabel(SimUnit& unit, const SimRequest&) {
    // Two bytes of the unit's own (its number and setup bank) come before the text.
    SimAnswer answer{kCodeSettingsLabel, {static_cast<uint8_t>(unit.Number()), 1}};
    AppendText(answer.data, unit.SettingsLabel(), answer.data.size());
    return answer;
}

std::optional<SimAnswer> ReadMessage(SimUnit& unit, const SimRequest&) {
    SimAnswer answer{kCodeUnitMessage, {}};
    AppendText(answer.data, unit.TakeMessageText());
    return answer;
}

std::optional<SimAnswer> SendReply(SimUnit& unit, const SimRequest& request) {
    if (request.ArgCount() != 2) {
        return std::nullopt;
    }
    unit.Reply(request.Arg(0), request.Arg(1));
    return SimAnswer{kCodeUnitReply, {}};
}

}  // namespace

void RegisterTextCommands(CommandTable& table) {
    table.Register(Command::ReadSettingsLabel, ReadSettingsLabel);
    table.Register(Command::ReadUnitMessage, ReadMessage);
    table.Register(Command::SendUnitReply, SendReply);
}
