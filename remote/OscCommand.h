#pragma once

#include <cstddef>
#include <string>

#include "remote/RemoteCommand.h"

// OSC messages as the same commands as the line protocol: the address names the verb
// (/vcp/turn is TURN), the arguments are its words. Numbers come as int32, int64, float or
// double (a float is rounded to the nearest whole number), names and labels as strings.
//
//   /vcp/press/menu n and /vcp/press/function n press a button by number, /vcp/press s a key
//   or a button by its label. /vcp/subscribe [port] and /vcp/unsubscribe [port] name the port
//   pushed state goes to (the sender's own port without one); the port is the command's
//   number, 0 for the sender's.

constexpr const char* kOscPrefix = "/vcp/";

// One OSC message, as liblo reads it from a datagram. Bundles, unknown addresses and
// argument types other than numbers and strings are refused with a reason.
ParsedCommand DecodeOscPacket(const void* data, size_t size);

// Whether the datagram is one of the messages the panel itself sends (/vcp/ok, /vcp/error,
// /vcp/state/...): such a datagram is never answered, so two servers, or a server and a
// reply port of its own, never talk in a loop.
bool IsPanelMessage(const void* data, size_t size);
