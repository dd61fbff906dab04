#include "remote/OscMessages.h"

#include <lo/lo.h>

#include <cstdlib>
#include <string>

#include "remote/OscCommand.h"

namespace {

std::vector<char> Serialised(lo_message message, const std::string& path) {
    size_t size = 0;
    void* bytes = lo_message_serialise(message, path.c_str(), nullptr, &size);
    std::vector<char> packet;
    if (bytes != nullptr) {
        packet.assign(static_cast<const char*>(bytes), static_cast<const char*>(bytes) + size);
        std::free(bytes);
    }
    lo_message_free(message);
    return packet;
}

}  // namespace

std::vector<char> OscAnswerPacket(const RemoteAnswer& answer) {
    lo_message message = lo_message_new();
    if (!answer.text.empty()) {
        lo_message_add_string(message, ClientText(answer.text).c_str());
    }
    return Serialised(message, std::string(kOscPrefix) + (answer.ok ? "ok" : "error"));
}

std::vector<char> OscStatePacket(const StateItem& item) {
    lo_message message = lo_message_new();
    for (const StateValue& value : item.values) {
        if (const int* number = std::get_if<int>(&value)) {
            lo_message_add_int32(message, *number);
        } else {
            lo_message_add_string(message, ClientText(std::get<std::string>(value)).c_str());
        }
    }
    return Serialised(message, std::string(kOscPrefix) + "state/" + item.topic);
}
