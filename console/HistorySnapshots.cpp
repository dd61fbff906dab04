// Snapshots of the selected unit: saving, comparing with a snapshot or another unit, and
// restoring what differs.
#include "console/PanelHistory.h"

#include <optional>
#include <string>
#include <vector>

#include "console/PanelConsole.h"
#include "history/SnapshotFile.h"
#include "history/SnapshotRestore.h"
#include "history/TimeStamp.h"
#include "link/LineWork.h"
#include "link/ParameterCommands.h"
#include "link/UnitCommands.h"
#include "protocol/StatusFlags.h"

std::optional<Snapshot> PanelHistory::ReadUnit(int unit, std::string& failure) {
    const int selected = m_console.SelectedUnit();
    const int target = unit == 0 ? selected : unit;
    m_console.StopPolling();
    const LineWork work("reading " + UnitName(target));
    std::optional<Snapshot> snapshot;
    Status read = Status::Ok;
    if (target == selected) {
        read = ReadParameterValues();
        if (read == Status::Ok) {
            snapshot = CaptureSnapshot(target, m_console.SettingsLabel(), SnapshotTimeNow());
        }
    } else {
        // Another unit is read into records of its own: the tables, which the painting, the
        // network and the undo read, keep the selected unit throughout.
        const uint8_t address = AddressOfUnit(target);
        UnitStatus status{};
        UnitValues values;
        read = IdentifyUnit(address, status);
        if (read == Status::Ok) {
            read = ReadParameterValuesOf(address, values);
        }
        if (read == Status::Ok) {
            snapshot = CaptureSnapshot(target, values, {}, SnapshotTimeNow());
            snapshot->model = status[kStatusByteModel];
        }
    }
    if (!snapshot) {
        failure = UnitName(target) + " did not send its values (" + StatusText(read) + ").";
    }
    m_console.ResumePolling();
    return snapshot;
}

std::optional<Snapshot> PanelHistory::ChooseSnapshot(std::string& failure) {
    const std::string path = m_prompts.chooseFile(false, SnapshotFolder());
    if (path.empty()) {
        return std::nullopt;
    }
    SnapshotRead read = ReadSnapshotFile(path);
    failure = read.error;
    return std::move(read.snapshot);
}

std::string PanelHistory::SaveSnapshot() {
    if (std::string why = Unavailable(); !why.empty()) {
        return Tell(why, true);
    }
    std::string failure;
    const std::optional<Snapshot> snapshot = ReadUnit(0, failure);
    if (!snapshot) {
        return Tell(failure, true);
    }
    const std::string path = m_prompts.chooseFile(true, DefaultSnapshotPath(*snapshot));
    if (path.empty()) {
        return {};
    }
    if (std::string error = WriteSnapshotFile(path, *snapshot); !error.empty()) {
        return Tell("The snapshot was not saved: " + error, true);
    }
    return Tell("Snapshot of " + UnitName(snapshot->unit) +
                " saved: " + std::to_string(snapshot->values.size()) + " values in " + path + ".");
}

// The snapshot the user chooses, the selected unit as it is now and how they differ; nothing,
// with what the user was told, when either is missing, the models differ or nothing differs
// (told as the unit's name, `whenSame` and the snapshot's time).
std::optional<PanelHistory::SnapshotAndUnit> PanelHistory::SnapshotAgainstUnit(
    std::string& told, const char* whenSame) {
    if (std::string why = Unavailable(); !why.empty()) {
        told = Tell(why, true);
        return std::nullopt;
    }
    std::string failure;
    std::optional<Snapshot> then = ChooseSnapshot(failure);
    if (!then) {
        told = failure.empty() ? std::string() : Tell(failure, true);
        return std::nullopt;
    }
    std::optional<Snapshot> now = ReadUnit(0, failure);
    if (!now) {
        told = Tell(failure, true);
        return std::nullopt;
    }
    if (FitOf(*then, *now) == SnapshotFit::OtherModel) {
        told = Tell(FitMessage(*then, *now), true);
        return std::nullopt;
    }
    std::vector<ValueDifference> differences = CompareSnapshots(*then, *now);
    if (differences.empty()) {
        told = Tell(UnitName(now->unit) + whenSame + then->takenAt + ".");
        return std::nullopt;
    }
    return SnapshotAndUnit{std::move(*then), std::move(*now), std::move(differences)};
}

bool PanelHistory::ShowDifferences(const std::string& heading, const std::string& thenTitle,
                                   const std::string& nowTitle,
                                   const std::vector<ValueDifference>& differences,
                                   bool askToRestore) {
    m_console.StopPolling();
    const bool confirmed =
        m_prompts.showDifferences(heading, thenTitle, nowTitle, differences, askToRestore);
    m_console.ResumePolling();
    return confirmed;
}

std::string PanelHistory::CompareWithSnapshot() {
    std::string told;
    const std::optional<SnapshotAndUnit> chosen =
        SnapshotAgainstUnit(told, " holds every value of the snapshot of ");
    if (!chosen) {
        return told;
    }
    const auto& [then, now, differences] = *chosen;
    const std::string heading = std::to_string(differences.size()) + " values of " +
                                UnitName(now.unit) + " differ from the snapshot of " +
                                then.takenAt + ". " + FitMessage(then, now);
    ShowDifferences(heading, "Snapshot", UnitName(now.unit) + " now", differences, false);
    return heading;
}

std::string PanelHistory::RestoreSnapshot() {
    std::string told;
    const std::optional<SnapshotAndUnit> chosen =
        SnapshotAgainstUnit(told, " already holds every value of the snapshot of ");
    if (!chosen) {
        return told;
    }
    const auto& [then, now, differences] = *chosen;
    const std::string heading = "Restore " + std::to_string(differences.size()) + " values of " +
                                UnitName(now.unit) + " to the snapshot of " + then.takenAt + "? " +
                                FitMessage(then, now);
    if (!ShowDifferences(heading, "Snapshot", UnitName(now.unit) + " now", differences, true)) {
        return {};
    }
    RestoreReport report;
    {
        const ChangeRecorder::CauseScope cause(m_recorder, ChangeCause::Restore);
        m_console.StopPolling();
        report = RestoreValues(differences, now.unit, [this](int done, int total) {
            m_console.ShowMessage("Restoring the snapshot: " + std::to_string(done) + " of " +
                                  std::to_string(total) + " values sent.");
        });
        m_console.ShowMessage(g_idleText);
        m_console.ResumePolling();
    }
    RefreshPanel();
    CollectChanges(true);
    return Tell(report.Summary(),
                report.stoppedAnswering || !report.refused.empty() || !report.outOfRange.empty());
}

std::string PanelHistory::CompareUnits() {
    if (std::string why = Unavailable(); !why.empty()) {
        return Tell(why, true);
    }
    const int selected = m_console.SelectedUnit();
    std::vector<int> candidates;
    for (int unit = 1; unit < kUnitSlots; ++unit) {
        if (unit != selected && m_console.AnsweringAddress(unit) != 0) {
            candidates.push_back(unit);
        }
    }
    if (candidates.empty()) {
        return Tell("No other unit answers on the line.", true);
    }
    const int other = m_prompts.chooseUnit(candidates);
    if (other == 0) {
        return {};
    }
    std::string failure;
    const std::optional<Snapshot> theirs = ReadUnit(other, failure);
    if (!theirs) {
        return Tell(failure, true);
    }
    const std::optional<Snapshot> ours = ReadUnit(0, failure);
    if (!ours) {
        return Tell(failure, true);
    }
    if (theirs->model != ours->model) {
        return Tell(UnitName(other) + " is a model " + std::to_string(theirs->model) + " and " +
                        UnitName(selected) + " a model " + std::to_string(ours->model) +
                        ": only units of one model compare.",
                    true);
    }
    const std::vector<ValueDifference> differences = CompareSnapshots(*theirs, *ours);
    if (differences.empty()) {
        return Tell(UnitName(selected) + " and " + UnitName(other) + " hold the same values.");
    }
    const std::string heading = std::to_string(differences.size()) + " values differ between " +
                                UnitName(other) + " and " + UnitName(selected) + ".";
    ShowDifferences(heading, UnitName(other), UnitName(selected), differences, false);
    return heading;
}
