#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "history/AsRunLog.h"
#include "history/ChangeRecorder.h"
#include "history/Snapshot.h"
#include "history/SnapshotCompare.h"
#include "history/UndoHistory.h"

class PanelConsole;

// What the panel keeps of the units on the PC: snapshots of the selected unit with their
// comparison and restore, the comparison of two units, the as-run log of every change the
// panel makes and undo. It records the changes from the link's bytes, so every control,
// dialog and source is logged alike, and the wire carries nothing for it. The snapshot work
// is in HistorySnapshots.cpp; the window asks its questions (Prompts).
class PanelHistory : public QObject {
    Q_OBJECT

  public:
    // The questions it asks the user: the window's dialogs, or a test's answers.
    struct Prompts {
        // A snapshot file to write (`saving`) or read; empty when the user cancels.
        std::function<std::string(bool saving, const std::string& suggested)> chooseFile;
        // The differences shown; with `askToRestore`, true when the user confirms the restore.
        std::function<bool(const std::string& heading, const std::string& thenTitle,
                           const std::string& nowTitle,
                           const std::vector<ValueDifference>& differences, bool askToRestore)>
            showDifferences;
        // The unit to compare the selected one with, of `candidates`; 0 when cancelled.
        std::function<int(const std::vector<int>& candidates)> chooseUnit;
        // The as-run log viewer with the latest lines.
        std::function<void(std::vector<std::string> lines)> showLog;
    };

    // Collects changes this often while the panel runs; an undo or a look at the log
    // collects at once.
    static constexpr int kCollectPeriod_ms = 250;
    static constexpr size_t kViewerLines = 2000;
    // How long the viewer lets the log's writer catch up before it reads the file.
    static constexpr int kViewerCatchUp_ms = 200;

    PanelHistory(PanelConsole& console, std::string logPath, Prompts prompts);
    ~PanelHistory() override;
    PanelHistory(const PanelHistory&) = delete;
    PanelHistory& operator=(const PanelHistory&) = delete;

    // Each returns what it told the user (the message of its last box), empty when the user
    // cancelled.
    std::string SaveSnapshot();
    std::string CompareWithSnapshot();
    std::string RestoreSnapshot();
    std::string CompareUnits();
    std::string Undo();
    void ShowLog();

    // The changes finished since the last call go to the log and the undo history.
    void CollectChanges(bool closeBursts = false);
    AsRunLog& Log() { return m_log; }
    // A unit as the history's messages name it.
    static std::string UnitName(int unit);
    const UndoHistory& UndoSteps() const { return m_undo; }

  private:
    struct SnapshotAndUnit {
        Snapshot then;
        Snapshot now;
        std::vector<ValueDifference> differences;  // of now from then
    };
    std::optional<SnapshotAndUnit> SnapshotAgainstUnit(std::string& told, const char* whenSame);
    // Why nothing can be read from the selected unit now; empty when it can.
    std::string Unavailable() const;
    // Reads the values of unit `unit` (the selected one when 0) and captures them; a
    // failed read tells the user and gives nothing.
    std::optional<Snapshot> ReadUnit(int unit, std::string& failure);
    // Reads a snapshot file the user chooses; empty with the message in `failure`.
    std::optional<Snapshot> ChooseSnapshot(std::string& failure);
    // Why `step` no longer fits unit `unit` (another model or menu image took its address);
    // empty when it does.
    static std::string StepMismatch(int unit, const UndoStep& step);
    std::string Tell(const std::string& text, bool warning = false);
    // The differences shown with the polls stopped; with `askToRestore`, whether the user
    // confirmed.
    bool ShowDifferences(const std::string& heading, const std::string& thenTitle,
                         const std::string& nowTitle,
                         const std::vector<ValueDifference>& differences, bool askToRestore);
    void RefreshPanel();

    PanelConsole& m_console;
    AsRunLog m_log;
    ChangeRecorder m_recorder;
    UndoHistory m_undo;
    Prompts m_prompts;
    QTimer m_collectTimer;
};
