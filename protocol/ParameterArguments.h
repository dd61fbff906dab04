#pragma once

#include <cstdint>

// Argument values of the parameter requests.

// Parameters 0..127 are knob parameters with 16-bit values, 128..255 functions with 8-bit
// values.
constexpr int kLastKnobParameter = 127;
constexpr int kFirstFunctionNumber = 128;

// SetParameterByte with this value asks for the function's value: the unit answers with it in
// an update list and changes nothing.
constexpr uint8_t kFunctionValueQuery = 255;
