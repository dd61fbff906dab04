#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include "protocol/Status.h"

// What the storage dialogs tell the user about an exchange with the unit.

// Why an exchange failed, in words for the user ("the unit did not answer").
QString FailureReason(Status status);

// How a list read from the unit ended.
enum class ListOutcome {
    Whole,   // the unit sent the whole list
    Filled,  // the list filled the table to its last slot and the unit had more
    Failed,  // nothing usable arrived; the table keeps what it held
};

// Runs `read` (one of the list commands) and tells a list that filled its table, which the
// command reports as too long, from one that failed. `filled` is the table's count of filled
// slots and `slotCount` its size; a failed read leaves `filled` as it was.
ListOutcome ReadListIntoTable(const std::function<Status()>& read, int32_t& filled,
                              int32_t slotCount, Status& status);
