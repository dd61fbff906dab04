#pragma once

#include <vector>

#include "remote/CommandRunner.h"
#include "remote/StateItems.h"

// The OSC messages the panel sends, as datagrams: an answer as /vcp/ok with its text (none
// for a plain OK) or /vcp/error with the reason, a pushed item as /vcp/state/<topic> with its
// values as int32 and string arguments.
std::vector<char> OscAnswerPacket(const RemoteAnswer& answer);
std::vector<char> OscStatePacket(const StateItem& item);
