#pragma once

#include <cstdint>

// Argument values of the parameter requests.

// SetParameterByte with this value asks for the function's value: the unit answers with it in
// an update list and changes nothing.
constexpr uint8_t kFunctionValueQuery = 255;
