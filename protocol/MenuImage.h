#pragma once

#include <cstddef>
#include <cstdint>

// The layout of a unit's menu image, as the unit writes it and the panel reads it.

// The image starts with a header of this many bytes; the parameter section follows.
constexpr size_t kMenuImageHeaderBytes = 4;
// Between the menu and the message sections lie this many sections of the unit's own
// records, which the panel skips.
constexpr int kMenuImageUnitSections = 5;
// The function section ends with the record of function 255.
constexpr int kLastFunctionNumber = 255;
