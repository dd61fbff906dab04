#pragma once

#include <cstdint>

#include "protocol/Status.h"

// Locks (state 1) or releases (state 2) one control of the selected unit while it is on air:
// sends B8, then `number` (a knob parameter 0..127 or a function 128..255), then `state`.
// 0 when the unit answers with code 00; 6 when it answers with another code; 1, 4, 102 or
// 103 when the exchange failed (no answer, request not written, answer cut before its length
// or code).
Status SetOnAirLockout(uint8_t number, uint8_t state);
