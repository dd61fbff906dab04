#pragma once

#include <array>

// The functions whose indicators the panel shows beside the knobs, in their order; memories
// 1..5 turn off the first five with the attribute latch.
constexpr std::array<int, 5> kIconFunctions = {221, 222, 223, 225, 227};
