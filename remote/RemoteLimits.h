#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

// The bounds a network client works within. Every client is untrusted: what it sends beyond
// these is refused with a reason and changes nothing, and a client that stops reading is
// dropped rather than waited for.

constexpr size_t kMaxLineLength = 512;        // bytes of one command line, without its end
constexpr size_t kMaxOscPacketSize = 1024;    // bytes of one OSC datagram
constexpr size_t kMaxPendingOutput = 262144;  // bytes queued for a client before it is dropped
constexpr int kMaxClients = 32;               // connections, and OSC subscribers, per server
constexpr int kCommandsPerSecond = 50;  // per host, TCP and OSC together, in a burst of as many
// Connections and OSC subscriptions of one host, both servers together: room is left for others.
constexpr int kMaxClientsPerHost = 24;
constexpr size_t kMostHosts = 128;  // hosts whose accounts are kept at once
// Commands of one client taken while its command in hand waits, and the bytes it may send then.
constexpr size_t kMaxWaitingCommands = 64;
constexpr size_t kMaxWaitingInput = 65536;
// A line client that neither subscribed nor sent a line for this long is closed.
constexpr uint32_t kIdleClient_ms = 300000;
// An OSC subscription lasts this long from its last datagram or subscribe.
constexpr uint32_t kOscLease_ms = 30000;
constexpr int kMaxWireNumber = 1000000;  // any number a command carries, either sign
// A raw value a unit takes: one signed 16-bit word, as its parameter records hold it.
constexpr int kLowestRawValue = std::numeric_limits<int16_t>::min();
constexpr int kHighestRawValue = std::numeric_limits<int16_t>::max();
constexpr int kPushInterval_ms = 33;  // at most about 30 pushed updates a second

// What a client reads when a bound refuses it, the same from both servers.
inline std::string LineTooLongReason() {
    return "A line holds at most " + std::to_string(kMaxLineLength) + " bytes.";
}
inline std::string TooManyCommandsReason() {
    return "Too many commands: at most " + std::to_string(kCommandsPerSecond) + " a second.";
}
inline std::string TooManyClientsReason() {
    return "The panel takes at most " + std::to_string(kMaxClients) + " clients at once.";
}
inline std::string TooManyFromHostReason() {
    return "The panel takes at most " + std::to_string(kMaxClientsPerHost) +
           " clients from one host at once.";
}
