#pragma once

#include <functional>
#include <string>
#include <vector>

#include "history/SnapshotCompare.h"

// How a restore ended: what the unit took, what it refused (it holds another value after
// the request, or answered with another code) and where it stopped answering.
struct RestoreReport {
    int unit = 0;
    int planned = 0;                          // values that differ, sent or not
    int sent = 0;                             // values the unit answered
    std::vector<ValueDifference> taken;       // then: the snapshot's value; now: read back
    std::vector<ValueDifference> refused;     // now: what the unit holds after the request
    std::vector<ValueDifference> outOfRange;  // not sent: outside the parameter's range now
    bool stoppedAnswering = false;            // the unit went silent; the rest was not sent
    bool readBackFailed = false;              // the values could not be read back

    // "Restored 12 of 40 values; Main Unit 1 stopped answering." and the like.
    std::string Summary() const;
};

// Called after each value sent with how many are done of how many are to be sent.
using RestoreProgress = std::function<void(int done, int total)>;

// Sends the snapshot's value (`then`) of each difference to the selected unit, `unit`:
// SetParameterWord for a knob parameter, SetParameterByte for a function, in one piece of
// line work. A value outside the range the selected unit's records give it now (the range
// changed since the snapshot, or the file was edited) is not sent but listed in outOfRange.
// A request left unanswered stops the restore there. Then the values are read back and each
// sent one is sorted into taken or refused; with nothing to send nothing is read. Running it
// again with a fresh comparison sends only what still differs.
RestoreReport RestoreValues(const std::vector<ValueDifference>& differences, int unit,
                            const RestoreProgress& progress = {});
