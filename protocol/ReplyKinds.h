#pragma once

#include <cstdint>

#include "protocol/WireByte.h"

// The kind byte of SendUnitReply.
enum class ReplyKind : uint8_t {
    QuestionAnswer = 11,  // the user's answer to a message that asks: 1 OK, 2 Cancel
    Acknowledge = 20,     // with 1: the unit's message has been seen and may go
};
