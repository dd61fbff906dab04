#include "panel/PanelHistory.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QPointer>
#include <QShortcut>

#include "actions/OriginScope.h"
#include "controls/CInfoBar.h"
#include "controls/CSettingsBar.h"
#include "dialogs/CAsRunLogDialog.h"
#include "dialogs/CDifferencesDialog.h"
#include "history/AsRunLines.h"
#include "history/SnapshotFile.h"
#include "history/SnapshotRestore.h"
#include "history/TimeStamp.h"
#include "history/ValueText.h"
#include "link/LineWork.h"
#include "link/ParameterCommands.h"
#include "link/UnitCommands.h"
#include "panel/CTavrinoxDlg.h"
#include "platform/Prompter.h"
#include "protocol/ParameterArguments.h"
#include "protocol/StatusFlags.h"

namespace {

const char* const kCaption = "Snapshots";

std::string UnitName(int unit) {
    return "Main Unit " + std::to_string(unit);
}

// Momentary functions (memories, one-shot commands) hold no value to go back to.
bool Undoable(const UnitChange& change) {
    if (change.number < 0 || !change.oldValue || !change.newValue ||
        *change.oldValue == *change.newValue || change.cause == ChangeCause::Undo) {
        return false;
    }
    return change.number <= kLastKnobParameter ||
           (g_functionTable[change.number - kFirstFunctionNumber].flags & kFlagMomentary) == 0;
}

std::string ValueText(int number, int value) {
    if (number <= kLastKnobParameter) {
        return ParameterValueText(g_paramTable[number], value);
    }
    return FunctionValueText(g_functionTable[number - kFirstFunctionNumber], value);
}

}  // namespace

PanelHistory::PanelHistory(CTavrinoxDlg& panel, std::string logPath)
    : QObject(&panel), m_panel(panel), m_log(std::move(logPath)), m_prompts(DefaultPrompts()) {
    g_link.SetTracer(&m_recorder);
    QPointer<PanelHistory> self(this);
    m_panel.AddContextEntries([self](QMenu& menu) {
        if (self) {
            self->AddMenuEntries(menu);
        }
    });
    auto* undoKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), &m_panel);
    connect(undoKey, &QShortcut::activated, this, [this] { static_cast<void>(Undo()); });
    connect(&m_collectTimer, &QTimer::timeout, this, [this] { CollectChanges(); });
    m_collectTimer.start(kCollectPeriod_ms);
    QCoreApplication::instance()->installEventFilter(this);
}

bool PanelHistory::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
            OriginScope::SetWindowInput(ActionSource::Keyboard);
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
            OriginScope::SetWindowInput(ActionSource::Mouse);
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

PanelHistory::~PanelHistory() {
    QCoreApplication::instance()->removeEventFilter(this);
    OriginScope::SetWindowInput(ActionSource::Mouse);
    CollectChanges(true);
    g_link.SetTracer(nullptr);
}

void PanelHistory::AddMenuEntries(QMenu& menu) {
    const auto add = [&](const char* text, std::function<void()> work) {
        QAction* action = menu.addAction(QString::fromUtf8(text));
        connect(action, &QAction::triggered, this, std::move(work));
    };
    add("Save snapshot...", [this] { static_cast<void>(SaveSnapshot()); });
    add("Compare with snapshot...", [this] { static_cast<void>(CompareWithSnapshot()); });
    add("Restore snapshot...", [this] { static_cast<void>(RestoreSnapshot()); });
    add("Compare units...", [this] { static_cast<void>(CompareUnits()); });
    add("Undo (Ctrl+Z)", [this] { static_cast<void>(Undo()); });
    add("As-run log...", [this] { ShowLog(); });
}

void PanelHistory::CollectChanges(bool closeBursts) {
    for (const UnitChange& change : m_recorder.Collect(closeBursts)) {
        m_log.Write(FormatChange(change));
        if (Undoable(change)) {
            m_undo.Push(change.unit, {change.number, *change.oldValue, change.control});
        }
    }
}

std::string PanelHistory::Unavailable() const {
    if (m_panel.SelectedUnit() == 0 || g_currentUnitAddress == 0) {
        return "No unit is selected.";
    }
    if (m_panel.LinkLost()) {
        return "The link to the selected unit is lost.";
    }
    if (!g_panelModel.IsImageLoaded(m_panel.SelectedUnit())) {
        return "The selected unit's menus are not loaded yet.";
    }
    return {};
}

std::optional<Snapshot> PanelHistory::ReadUnit(int unit, std::string& failure) {
    const int selected = m_panel.SelectedUnit();
    const int target = unit == 0 ? selected : unit;
    const uint8_t home = g_currentUnitAddress;
    m_panel.StopPolling();
    const LineWork work("reading " + UnitName(target));
    UnitStatus status = g_unitStatus;
    Status read = Status::Ok;
    if (target != selected) {
        read = IdentifyUnit(AddressOfUnit(target), status);
        g_currentUnitAddress = AddressOfUnit(target);
    }
    if (read == Status::Ok) {
        read = ReadParameterValues();
    }
    std::optional<Snapshot> snapshot;
    if (read == Status::Ok) {
        snapshot =
            CaptureSnapshot(target, m_panel.SettingsBar()->SettingsText(), SnapshotTimeNow());
        snapshot->model = status[kStatusByteModel];
        if (target != selected) {
            snapshot->settingsText.clear();
        }
    } else {
        failure = UnitName(target) + " did not send its values (" + StatusText(read) + ").";
    }
    if (target != selected) {
        // The tables hold the selected unit again.
        g_currentUnitAddress = home;
        static_cast<void>(ReadParameterValues());
    }
    m_panel.ResumePolling();
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

std::string PanelHistory::Tell(const std::string& text, bool warning) {
    m_panel.StopPolling();
    CurrentPrompter().Show(text, kCaption, warning ? PromptIcon::Warning : PromptIcon::Information,
                           PromptButtons::Ok);
    m_panel.ResumePolling();
    return text;
}

void PanelHistory::RefreshPanel() {
    m_panel.BindKnobs();
    m_panel.ShowFunctionLabels();
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

std::string PanelHistory::CompareWithSnapshot() {
    if (std::string why = Unavailable(); !why.empty()) {
        return Tell(why, true);
    }
    std::string failure;
    const std::optional<Snapshot> then = ChooseSnapshot(failure);
    if (!then) {
        return failure.empty() ? std::string() : Tell(failure, true);
    }
    const std::optional<Snapshot> now = ReadUnit(0, failure);
    if (!now) {
        return Tell(failure, true);
    }
    if (FitOf(*then, *now) == SnapshotFit::OtherModel) {
        return Tell(FitMessage(*then, *now), true);
    }
    const std::vector<ValueDifference> differences = CompareSnapshots(*then, *now);
    if (differences.empty()) {
        return Tell(UnitName(now->unit) + " holds every value of the snapshot of " + then->takenAt +
                    ".");
    }
    const std::string heading = std::to_string(differences.size()) + " values of " +
                                UnitName(now->unit) + " differ from the snapshot of " +
                                then->takenAt + ". " + FitMessage(*then, *now);
    m_panel.StopPolling();
    m_prompts.showDifferences(heading, "Snapshot", UnitName(now->unit) + " now", differences,
                              false);
    m_panel.ResumePolling();
    return heading;
}

std::string PanelHistory::RestoreSnapshot() {
    if (std::string why = Unavailable(); !why.empty()) {
        return Tell(why, true);
    }
    std::string failure;
    const std::optional<Snapshot> then = ChooseSnapshot(failure);
    if (!then) {
        return failure.empty() ? std::string() : Tell(failure, true);
    }
    const std::optional<Snapshot> now = ReadUnit(0, failure);
    if (!now) {
        return Tell(failure, true);
    }
    if (FitOf(*then, *now) == SnapshotFit::OtherModel) {
        return Tell(FitMessage(*then, *now), true);
    }
    const std::vector<ValueDifference> differences = CompareSnapshots(*then, *now);
    if (differences.empty()) {
        return Tell(UnitName(now->unit) + " already holds every value of the snapshot of " +
                    then->takenAt + ".");
    }
    const std::string heading = "Restore " + std::to_string(differences.size()) + " values of " +
                                UnitName(now->unit) + " to the snapshot of " + then->takenAt +
                                "? " + FitMessage(*then, *now);
    m_panel.StopPolling();
    const bool confirmed = m_prompts.showDifferences(
        heading, "Snapshot", UnitName(now->unit) + " now", differences, true);
    m_panel.ResumePolling();
    if (!confirmed) {
        return {};
    }
    RestoreReport report;
    {
        const ChangeRecorder::CauseScope cause(m_recorder, ChangeCause::Restore);
        m_panel.StopPolling();
        report = RestoreValues(differences, now->unit, [this](int done, int total) {
            m_panel.InfoBar()->SetMessage("Restoring the snapshot: " + std::to_string(done) +
                                          " of " + std::to_string(total) + " values sent.");
        });
        m_panel.InfoBar()->SetMessage(g_idleText);
        m_panel.ResumePolling();
    }
    RefreshPanel();
    CollectChanges(true);
    return Tell(report.Summary(), report.stoppedAnswering || !report.refused.empty());
}

std::string PanelHistory::CompareUnits() {
    if (std::string why = Unavailable(); !why.empty()) {
        return Tell(why, true);
    }
    const int selected = m_panel.SelectedUnit();
    std::vector<int> candidates;
    for (int unit = 1; unit < kUnitSlots; ++unit) {
        if (unit != selected && m_panel.AnsweringAddress(unit) != 0) {
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
    m_panel.StopPolling();
    m_prompts.showDifferences(heading, UnitName(other), UnitName(selected), differences, false);
    m_panel.ResumePolling();
    return heading;
}

std::string PanelHistory::Undo() {
    if (std::string why = Unavailable(); !why.empty()) {
        m_panel.InfoBar()->SetMessage(why);
        return why;
    }
    CollectChanges(true);
    const int unit = m_panel.SelectedUnit();
    const std::optional<UndoStep> step = m_undo.Take(unit);
    if (!step) {
        const std::string text = "Nothing to undo on " + UnitName(unit) + ".";
        m_panel.InfoBar()->SetMessage(text);
        return text;
    }
    Status status = Status::Ok;
    {
        const ChangeRecorder::CauseScope cause(m_recorder, ChangeCause::Undo);
        const LineWork work("undoing a change of " + UnitName(unit));
        m_panel.StopPolling();
        status = step->number <= kLastKnobParameter
                     ? SetParameterWord(static_cast<uint8_t>(step->number),
                                        static_cast<uint16_t>(step->oldValue))
                     : SetParameterByte(static_cast<uint8_t>(step->number),
                                        static_cast<uint8_t>(step->oldValue));
        m_panel.ResumePolling();
    }
    CollectChanges(true);
    RefreshPanel();
    std::string text;
    if (status == Status::Ok) {
        text =
            "Undone: " + step->name + " back to " + ValueText(step->number, step->oldValue) + ".";
    } else {
        // Kept, so the undo can be asked for again once the unit answers.
        m_undo.Push(unit, *step);
        text = UnitName(unit) + " did not take the undo of " + step->name + " (" +
               StatusText(status) + ").";
    }
    m_panel.InfoBar()->SetMessage(text);
    return text;
}

void PanelHistory::ShowLog() {
    CollectChanges(true);
    // The viewer reads what the writer has written; a moment's patience lets it catch up.
    static_cast<void>(m_log.Flush(std::chrono::milliseconds(kViewerCatchUp_ms)));
    m_prompts.showLog(ReadLogLines(m_log.Path(), m_log.KeptFiles(), kViewerLines));
}

PanelHistory::Prompts PanelHistory::DefaultPrompts() {
    Prompts prompts;
    prompts.chooseFile = [this](bool saving, const std::string& suggested) {
        const QString filter = tr("Snapshots (*.json)");
        const QString start = QString::fromStdString(suggested);
        const QString path =
            saving ? QFileDialog::getSaveFileName(&m_panel, tr("Save snapshot"), start, filter)
                   : QFileDialog::getOpenFileName(&m_panel, tr("Open snapshot"), start, filter);
        return path.toStdString();
    };
    prompts.showDifferences = [this](const std::string& heading, const std::string& thenTitle,
                                     const std::string& nowTitle,
                                     const std::vector<ValueDifference>& differences,
                                     bool askToRestore) {
        CDifferencesDialog dialog(&m_panel, heading, {thenTitle, nowTitle}, differences,
                                  askToRestore);
        return dialog.exec() == QDialog::Accepted;
    };
    prompts.chooseUnit = [this](const std::vector<int>& candidates) {
        QStringList names;
        for (const int unit : candidates) {
            names << QString::fromStdString(UnitName(unit));
        }
        bool chosen = false;
        const QString name =
            QInputDialog::getItem(&m_panel, tr("Compare units"),
                                  tr("Compare the selected unit with"), names, 0, false, &chosen);
        const qsizetype index = names.indexOf(name);
        return chosen && index >= 0 ? candidates[static_cast<size_t>(index)] : 0;
    };
    prompts.showLog = [this](std::vector<std::string> lines) {
        m_panel.StopPolling();
        CAsRunLogDialog dialog(&m_panel, std::move(lines));
        dialog.exec();
        m_panel.ResumePolling();
    };
    return prompts;
}
