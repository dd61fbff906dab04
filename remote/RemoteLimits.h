#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

// The bounds a network client works within. Every client is untrusted: what it sends beyond
// these is refused with a reason and changes nothing, and a client that stops reading is
// dropped rather than waited for.

constexpr size_t kMaxLineLength = 512;        // bytes of one command line, without its end
constexpr size_t kMaxOscPacketSize = 1024;    // bytes of one OSC datagram
constexpr size_t kMaxPendingOutput = 262144;  // bytes queued for a client before it is dropped
constexpr int kMaxClients = 32;               // connections, and OSC subscribers, per server
constexpr int kCommandsPerSecond = 50;        // per client, in a burst of as many
constexpr int kMaxWireNumber = 1000000;       // any number a command carries, either sign
// A raw value a unit takes: one signed 16-bit word, as its parameter records hold it.
constexpr int kLowestRawValue = std::numeric_limits<int16_t>::min();
constexpr int kHighestRawValue = std::numeric_limits<int16_t>::max();
constexpr int kPushInterval_ms = 33;  // at most about 30 pushed updates a second
