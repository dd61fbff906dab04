#include "history/SnapshotCompare.h"

#include "history/ValueText.h"
#include "model/PanelModel.h"
#include "protocol/ParameterArguments.h"

SnapshotFit FitOf(const Snapshot& then, const Snapshot& now) {
    if (then.model != now.model) {
        return SnapshotFit::OtherModel;
    }
    return then.menuImageHash == now.menuImageHash ? SnapshotFit::Same : SnapshotFit::OtherImage;
}

std::string FitMessage(const Snapshot& then, const Snapshot& now) {
    switch (FitOf(then, now)) {
        case SnapshotFit::OtherModel:
            return "The snapshot is of a model " + std::to_string(then.model) +
                   " unit; Main Unit " + std::to_string(now.unit) + " is a model " +
                   std::to_string(now.model) + ". Nothing of it applies.";
        case SnapshotFit::OtherImage:
            return "The snapshot was taken with another menu image of this model: only the "
                   "parameters both images have are compared and restored.";
        case SnapshotFit::Same:
            break;
    }
    return {};
}

std::vector<ValueDifference> CompareSnapshots(const Snapshot& then, const Snapshot& now) {
    std::vector<ValueDifference> differences;
    for (const SnapshotValue& current : now.values) {
        const SnapshotValue* before = then.Find(current.number);
        if (before == nullptr || before->name != current.name || before->value == current.value) {
            continue;
        }
        differences.push_back({current.number, current.name, before->value, current.value,
                               ValueText(current.number, before->value),
                               ValueText(current.number, current.value)});
    }
    return differences;
}
