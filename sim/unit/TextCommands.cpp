// The settings label, unit messages and the master's replies to them.
#include "sim/unit/UnitCommands.h"

namespace {

constexpr uint8_t kReadSettingsLabel = 0xB6;
constexpr uint8_t kSettingsAnswer = 0x00;
constexpr uint8_t kReadMessage = 0xB5;
constexpr uint8_t kMessageAnswer = 0x21;
constexpr uint8_t kSendReply = 0x9E;
constexpr uint8_t kReplyAnswer = 0x05;

std::optional<SimAnswer> ReadSettingsLabel(SimUnit& unit, const SimRequest&) {
    // Two bytes of the unit's own (its number and setup bank) come before the text.
    SimAnswer answer{kSettingsAnswer, {static_cast<uint8_t>(unit.Number()), 1}};
    AppendText(answer.data, unit.SettingsLabel(), answer.data.size());
    return answer;
}

std::optional<SimAnswer> ReadMessage(SimUnit& unit, const SimRequest&) {
    SimAnswer answer{kMessageAnswer, {}};
    AppendText(answer.data, unit.TakeMessageText());
    return answer;
}

std::optional<SimAnswer> SendReply(SimUnit& unit, const SimRequest& request) {
    if (request.ArgCount() != 2) {
        return std::nullopt;
    }
    unit.Reply(request.Arg(0), request.Arg(1));
    return SimAnswer{kReplyAnswer, {}};
}

}  // namespace

void RegisterTextCommands(CommandTable& table) {
    table.Register(kReadSettingsLabel, ReadSettingsLabel);
    table.Register(kReadMessage, ReadMessage);
    table.Register(kSendReply, SendReply);
}
