#pragma once

#include <cstdint>

// B8 number state: the selected unit locks (1) or releases (2) one control while on air;
// `number` is a knob parameter 0..127 or a function 128..255. Answered with 00. 0; 6.
int SetOnAirLockout(uint8_t number, uint8_t state);
