#pragma once

#include <cstdint>

#include "protocol/WireByte.h"

// Argument bytes of the GPI requests.

// The action byte of ReadGpiSequence.
enum class GpiSequenceAction : uint8_t {
    Read = 2,   // answers with the sequence record
    Reset = 3,  // puts the unit's pointer back to no event
    Step = 4,   // advances the unit's pointer by one event
};

// SetGpiEvent: remove or insert an event at a position; its kind recalls a file.
constexpr uint8_t kGpiEventRemove = 0;
constexpr uint8_t kGpiEventInsert = 1;
constexpr uint8_t kGpiEventKindFile = 1;
