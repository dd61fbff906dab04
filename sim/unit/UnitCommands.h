#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "protocol/Commands.h"
#include "sim/unit/SimPacket.h"
#include "sim/unit/SimUnit.h"

// Answers one request; nullopt when the unit stays silent (a malformed request).
using CommandHandler = std::optional<SimAnswer> (*)(SimUnit& unit, const SimRequest& request);

// The unit's commands, by command byte.
class CommandTable {
  public:
    void Register(Command command, CommandHandler handler) { m_handlers[Byte(command)] = handler; }
    CommandHandler Find(uint8_t command) const { return m_handlers[command]; }

  private:
    std::array<CommandHandler, 256> m_handlers{};
};

// Every command a unit answers. Each family of commands registers itself.
const CommandTable& UnitCommands();

void RegisterStatusCommands(CommandTable& table);     // identify, version
void RegisterParameterCommands(CommandTable& table);  // adjust, set, value reads
void RegisterMenuDataCommands(CommandTable& table);   // menu image transfer
void RegisterTextCommands(CommandTable& table);       // settings label, messages, replies
void RegisterLockoutCommands(CommandTable& table);    // on-air lock-out
void RegisterFileCommands(CommandTable& table);       // directories, files, file data
void RegisterGpiCommands(CommandTable& table);        // GPI sequences
void RegisterEffectCommands(CommandTable& table);     // effects and keyframes

// Helpers the families share (and AppendWord of SimPacket.h).
// The text and its ending NUL, within what one answer can carry after `used` data bytes.
void AppendText(std::vector<uint8_t>& data, const std::string& text, size_t used = 0);
