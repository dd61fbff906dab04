#pragma once

#include <cstdint>
#include <string>
#include <vector>
#include "protocol/Status.h"

// The controls of the selected unit as the lock-out dialogs show them.

// A control's name on one line: each line break becomes a blank.
std::string ControlItemName(const std::string& text);

struct LockoutItem {
    std::string name;
    uint8_t number = 0;  // knob parameter 0..127 or function 129..254
    bool locked = true;
};

// Every named knob parameter and every function 129..254, locked or unlocked as
// g_onAirLockTable holds them (2 is unlocked, anything else locked).
std::vector<LockoutItem> CollectLockoutItems();

// Each distinct control number Lock All and Unlock All address: every parameter entry and
// every function offset 0..127 that is not the empty position 128, named or not.
std::vector<uint8_t> AllLockoutNumbers();

// SetOnAirLockout, sent once more when the first try failed. The last status.
Status SetLockoutWithRetry(uint8_t number, uint8_t state);

// Whether the record of a control carries the on-air lock-out flag, and setting it; numbers
// outside the tables (the empty position 128) have no record.
bool HasControlRecord(int number);
bool ControlRecordLocked(int number);
void SetControlRecordLocked(int number, bool locked);
std::string ControlRecordName(int number);
