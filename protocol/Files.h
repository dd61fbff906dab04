#pragma once

#include <cstdint>

// What the file requests carry besides names.

// The file id that saves a new file.
constexpr uint16_t kNewFileId = 0xFFFF;

// The custom-menu body of a user-directory file: four blocks of 50 bytes for custom menus
// 1..4, and one zero byte.
constexpr int kCustomMenuBlockSize = 50;
constexpr int kCustomMenuBlocks = 4;
constexpr int kCustomMenuBodySize = kCustomMenuBlocks * kCustomMenuBlockSize + 1;  // 201
constexpr int kBlockKnobOffset = 2;           // 8 knob parameter numbers
constexpr int kBlockFunctionOffset = 22;      // 6 function offsets
constexpr uint8_t kEmptyButtonOnWire = 0xFF;  // a function slot without a button
