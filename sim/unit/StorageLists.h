#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "sim/unit/SimPacket.h"
#include "sim/unit/SimUnit.h"
#include "sim/unit/UnitStorage.h"

// The lists of a unit's storage as the file, GPI and effect commands answer them: a first
// request readies the list, the follow-ups send it part by part.

// Readies `list` of `storage` to send `bytes` part by part and answers that it started.
SimAnswer StartList(UnitStorage& storage, SimList list, std::vector<uint8_t> bytes);

// The next part of `list` of `unit`, with the unit's list faults applied.
std::optional<SimAnswer> NextListPart(SimUnit& unit, SimList list, uint8_t more, uint8_t last);
