#pragma once

#include <cstdint>

#include "protocol/Status.h"

// B8 number state: the selected unit locks (1) or releases (2) one control while on air;
// `number` is a knob parameter 0..127 or a function 128..255. Answered with 00. Ok;
// WrongCode.
Status SetOnAirLockout(uint8_t number, uint8_t state);
