#pragma once

#include <cstdint>
#include <vector>

#include "sim/models/ModelDefinition.h"

// The definition of a model code; nullptr for a code no unit has.
const ModelDefinition* FindModel(int code);
// Every model code the simulator knows, in ascending order.
std::vector<uint8_t> KnownModelCodes();
