#pragma once

#include "protocol/Status.h"

// The on-air lock-out flag (0x2000) of the knob parameters and functions, kept in step with
// the unit's lock-out tables.

// Sets or clears the flag of parameters 0..127 and function offsets 0..127 from
// g_onAirLockTable: cleared where the table holds "unlocked" (2), set otherwise.
void ApplyLockTablesToRecords();

// Reads the unit's lock-out tables and applies them to the records. The records follow the
// tables even when the read failed (the tables then keep what the unit last reported).
// Returns the read's status.
Status ApplyOnAirLockout();
