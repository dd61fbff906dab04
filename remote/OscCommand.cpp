#include "remote/OscCommand.h"

#include <lo/lo.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "remote/RemoteLimits.h"
#include "remote/StateItems.h"

namespace {

struct OscAddress {
    const char* path;   // after the prefix
    const char* words;  // the line protocol's verb and fixed words
};

constexpr std::array<OscAddress, 19> kAddresses = {{
    {"help", "HELP"},
    {"unit", "UNIT"},
    {"turn", "TURN"},
    {"set", "SET"},
    {"setshown", "SETSHOWN"},
    {"press", "PRESS"},
    {"press/menu", "PRESS MENU"},
    {"press/function", "PRESS FUNCTION"},
    {"store", "STORE"},
    {"recall", "RECALL"},
    {"get", "GET"},
    {"knob", "KNOB"},
    {"title", "TITLE"},
    {"online", "ONLINE"},
    {"link", "LINK"},
    {"lamps", "LAMPS"},
    {"subscribe", "SUBSCRIBE"},
    {"unsubscribe", "UNSUBSCRIBE"},
    {"quit", "QUIT"},
}};

struct MessageFree {
    void operator()(lo_message message) const { lo_message_free(message); }
};
using Message = std::unique_ptr<std::remove_pointer_t<lo_message>, MessageFree>;

std::string NumberWord(double value) {
    if (!std::isfinite(value) || std::fabs(value) > kMaxWireNumber) {
        return "out-of-range";
    }
    return std::to_string(std::lround(value));
}

// An argument's value, read from its bytes: liblo places arguments four bytes apart, short of
// the alignment of its argument union.
template <typename T>
T ValueAt(const lo_arg* arg) {
    T value;
    std::memcpy(&value, reinterpret_cast<const char*>(arg), sizeof value);
    return value;
}

// One argument as a word of the line protocol, or empty with `error` set.
std::string ArgumentWord(char type, const lo_arg* arg, std::string& error) {
    switch (type) {
        case LO_INT32:
            return std::to_string(ValueAt<int32_t>(arg));
        case LO_INT64:
            return NumberWord(static_cast<double>(ValueAt<int64_t>(arg)));
        case LO_FLOAT:
            return NumberWord(ValueAt<float>(arg));
        case LO_DOUBLE:
            return NumberWord(ValueAt<double>(arg));
        case LO_STRING:
        case LO_SYMBOL:
            return Quoted(reinterpret_cast<const char*>(arg));
        default:
            error = std::string("An OSC argument of type '") + type +
                    "' is not taken: send numbers or strings.";
            return {};
    }
}

}  // namespace

ParsedCommand DecodeOscPacket(const void* data, size_t size) {
    if (size > kMaxOscPacketSize) {
        return ParsedCommand::Error("An OSC packet holds at most " +
                                    std::to_string(kMaxOscPacketSize) + " bytes.");
    }
    if (size >= 8 && std::memcmp(data, "#bundle", 8) == 0) {
        return ParsedCommand::Error("OSC bundles are not taken: send one message a packet.");
    }
    // liblo reads from a buffer it may not write to; a copy keeps the caller's untouched.
    std::vector<char> bytes(static_cast<const char*>(data), static_cast<const char*>(data) + size);
    int result = 0;
    const Message message(lo_message_deserialise(bytes.data(), bytes.size(), &result));
    if (!message || result != 0) {
        return ParsedCommand::Error("The packet is no OSC message.");
    }
    // A message read whole starts with its address, a string ended inside the packet.
    const std::string address(bytes.data());
    const size_t prefix = std::strlen(kOscPrefix);
    const auto found = std::find_if(kAddresses.begin(), kAddresses.end(), [&](const OscAddress& a) {
        return address.size() > prefix && address.compare(0, prefix, kOscPrefix) == 0 &&
               address.compare(prefix, std::string::npos, a.path) == 0;
    });
    if (found == kAddresses.end()) {
        return ParsedCommand::Error("No OSC address \"" + address.substr(0, kMaxLineLength) +
                                    "\"; " + kOscPrefix + "help lists the commands.");
    }
    const int count = lo_message_get_argc(message.get());
    const char* types = lo_message_get_types(message.get());
    lo_arg** args = lo_message_get_argv(message.get());
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i) {
        std::string error;
        words.push_back(ArgumentWord(types[i], args[i], error));
        if (!error.empty()) {
            return ParsedCommand::Error(error);
        }
    }
    const std::string verb = found->words;
    if (verb == "SUBSCRIBE" || verb == "UNSUBSCRIBE") {
        if (words.size() > 1) {
            return ParsedCommand::Error("Usage: " + address + " [reply port]");
        }
        ParsedCommand parsed = ParseCommandLine(verb);
        if (!words.empty()) {
            const std::optional<int> port = WireNumber(words[0]);
            if (!port || *port < 1 || *port > 65535) {
                return ParsedCommand::Error("A reply port is 1 to 65535.");
            }
            parsed.command->number = *port;
        }
        return parsed;
    }
    std::string line = verb;
    for (const std::string& word : words) {
        line += ' ' + word;
    }
    return ParseCommandLine(line);
}

bool IsPanelMessage(const void* data, size_t size) {
    const char* bytes = static_cast<const char*>(data);
    const std::string address(bytes, strnlen(bytes, size));
    const std::string prefix = kOscPrefix;
    return address == prefix + "ok" || address == prefix + "error" ||
           address.rfind(prefix + "state/", 0) == 0;
}
