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

// Reads both lock-out tables of the selected unit: sends the command byte B9 alone, twice,
// and data 0..127 of each answer fill one table. A model-4 unit sends the function table
// first, every other model the knob table (the model is read from g_unitStatus). 0 when both
// answers carried code 02 and 128 entries; 6 when one carried another code; 3 when one
// carried fewer entries; 1, 4, 102 or 103 when an exchange failed (no answer, request not
// written, answer cut before its length or code). The read stops at the first failure, and a
// table whose answer failed keeps what it held.
Status ReadOnAirLockout();

// Puts both tables back to "nothing locked".
void ResetOnAirLockTables();
