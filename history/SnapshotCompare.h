#pragma once

#include <string>
#include <vector>

#include "history/Snapshot.h"

// Whether one snapshot's values can stand for another unit's.
enum class SnapshotFit {
    Same,        // same model, same menu image
    OtherImage,  // same model, another menu image: only the parameters both have count
    OtherModel,  // nothing of it applies
};

SnapshotFit FitOf(const Snapshot& then, const Snapshot& now);
// What the panel tells the user about a fit other than Same; empty for Same.
std::string FitMessage(const Snapshot& then, const Snapshot& now);

// One value that differs, by parameter name, raw and as the panel shows it.
struct ValueDifference {
    int number = 0;
    std::string name;
    int then = 0;
    int now = 0;
    std::string thenText;
    std::string nowText;
};

// The values of `now` that differ from `then`, for every number both hold under the same
// name, in number order. The texts come from the selected unit's records (its ranges and
// option texts), so both snapshots must be of its model.
std::vector<ValueDifference> CompareSnapshots(const Snapshot& then, const Snapshot& now);
