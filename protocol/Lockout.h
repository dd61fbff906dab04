#pragma once

#include <cstdint>

// The on-air lock-out: one state byte per knob parameter 0..127 and per function 128..255,
// read as two tables of 128 and set one control at a time.

constexpr int kLockTableSize = 128;
constexpr uint8_t kLockStateLocked = 1;
constexpr uint8_t kLockStateUnlocked = 2;  // any other value counts as locked
