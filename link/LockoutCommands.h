#pragma once

#include <cstdint>

#include "link/Framing.h"
#include "protocol/Lockout.h"

// The on-air lock-out of the selected unit: which knob parameters and functions cannot be
// changed while the unit is on air.

constexpr int kKnobLockTable = 0;      // indexed by parameter number 0..127
constexpr int kFunctionLockTable = 1;  // indexed by function offset (number - 128)

// Program-wide lock-out tables, as the unit last reported them. Until a unit has reported,
// nothing counts as locked.
extern uint8_t g_onAirLockTable[2][kLockTableSize];

// B9 twice: data 0..127 of each answer fill one table. Model 4 sends the function table
// first, every other model the knob table. Ok, WrongCode, or the framing status; a table
// whose answer failed keeps what it held.
Status ReadOnAirLockout();

// Puts both tables back to "nothing locked".
void ResetOnAirLockTables();
