#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The checks of the network commands, shared by their fuzz targets and the seed replay of the
// tests. The bytes are a client's lines (at most kMostCheckedLines of them, one after the
// other) or one OSC datagram, parsed and carried out by the panel's own actions and
// controller, with a window that only watches, on the link to a unit on an in-process line:
// as a full server with the operator's ALT off and again lit, and as a read-only one.
// They hold when every answer is one line starting OK or ERR, a command that did not parse
// called no action, a read-only client called no action and sent nothing on the line, and no
// client's input pressed FILE CLEAR or opened a dialog, a box or the port setup. When one
// breaks, `why`, when given, says which.
constexpr size_t kMostCheckedLines = 16;

bool CheckCommandLine(const uint8_t* data, size_t size, std::string* why = nullptr);
bool CheckOscPacket(const uint8_t* data, size_t size, std::string* why = nullptr);
