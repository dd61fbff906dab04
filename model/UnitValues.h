#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "protocol/MenuImage.h"
#include "protocol/ParameterArguments.h"

// The knob parameters 0..127 and the functions 128..255 a unit can hold.
constexpr int kUnitParameters = kLastKnobParameter + 1;
constexpr int kUnitFunctions = kLastFunctionNumber - kFirstFunctionNumber + 1;

// The values of one unit as a read of them gives them, apart from the program-wide tables
// (which hold the selected unit alone): what the panel reads of another unit on the line.
// An entry the answers did not carry stays empty.
struct UnitValues {
    std::array<std::optional<int16_t>, kUnitParameters> parameters;
    std::array<std::optional<int16_t>, kUnitFunctions> functions;  // at number - 128
};
