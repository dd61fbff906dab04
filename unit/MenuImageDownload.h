#pragma once

#include "protocol/Status.h"

// Fetches the selected unit's menu image into the block of unit slot `unit` (1..4): two
// break pulses, then up to ten attempts of clearing the block, PrepareMenuData and
// ReadMenuData, with two break pulses after each failed attempt. Returns 0 on success, else
// the last attempt's status (4 for a slot outside 1..4, which is left alone). A failed
// download leaves the block marked not loaded.
Status DownloadMenuImage(int unit);

// A serial break pulse followed by 100 ms, twice: brings a unit back to the start of a
// transfer.
void SendBreakPulses();
