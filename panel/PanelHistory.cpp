#include "panel/PanelHistory.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QPointer>
#include <QShortcut>
#include <array>

#include "actions/OriginScope.h"
#include "controls/CInfoBar.h"
#include "dialogs/CAsRunLogDialog.h"
#include "dialogs/CDifferencesDialog.h"
#include "history/AsRunLines.h"
#include "history/ValueText.h"
#include "link/LineWork.h"
#include "link/ParameterCommands.h"
#include "panel/CTavrinoxDlg.h"
#include "platform/Prompter.h"
#include "protocol/ParameterArguments.h"
#include "protocol/StatusFlags.h"

namespace {

const char* const kCaption = "Snapshots";

// Momentary functions (memories, one-shot commands) hold no value to go back to.
bool Undoable(const UnitChange& change) {
    if (change.number < 0 || !change.oldValue || !change.newValue ||
        *change.oldValue == *change.newValue || change.cause == ChangeCause::Undo) {
        return false;
    }
    return change.number <= kLastKnobParameter ||
           (g_functionTable[change.number - kFirstFunctionNumber].flags & kFlagMomentary) == 0;
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
    auto* undoKey = new QShortcut(UndoKey(), &m_panel);
    connect(undoKey, &QShortcut::activated, this, [this] { static_cast<void>(Undo()); });
    connect(&m_collectTimer, &QTimer::timeout, this, [this] { CollectChanges(); });
    m_collectTimer.start(kCollectPeriod_ms);
    QCoreApplication::instance()->installEventFilter(this);
}

std::string PanelHistory::UnitName(int unit) {
    return "Main Unit " + std::to_string(unit);
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

// The undo key, as the panel takes it and its menu names it.
QKeySequence PanelHistory::UndoKey() {
    return QKeySequence(Qt::CTRL | Qt::Key_Z);
}

void PanelHistory::AddMenuEntries(QMenu& menu) {
    const auto add = [&](const char* text, std::function<void()> work) {
        QAction* action = menu.addAction(QString::fromUtf8(text));
        connect(action, &QAction::triggered, this, std::move(work));
        return action;
    };
    add("Save snapshot...", [this] { static_cast<void>(SaveSnapshot()); });
    add("Compare with snapshot...", [this] { static_cast<void>(CompareWithSnapshot()); });
    add("Restore snapshot...", [this] { static_cast<void>(RestoreSnapshot()); });
    add("Compare units...", [this] { static_cast<void>(CompareUnits()); });
    add("Undo", [this] { static_cast<void>(Undo()); })->setShortcut(UndoKey());
    add("As-run log...", [this] { ShowLog(); });
}

void PanelHistory::CollectChanges(bool closeBursts) {
    // The identity of each unit's menu image, taken once per collection.
    std::array<std::optional<uint64_t>, kUnitSlots> images;
    for (const UnitChange& change : m_recorder.Collect(closeBursts)) {
        m_log.Write(FormatChange(change));
        if (Undoable(change)) {
            std::optional<uint64_t>& image = images[static_cast<size_t>(change.unit)];
            if (!image) {
                image = MenuImageHash(change.unit);
            }
            m_undo.Push(change.unit,
                        {change.number, *change.oldValue, change.control, change.model, *image});
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

std::string PanelHistory::Tell(const std::string& text, bool warning) {
    m_panel.Console().StopPolling();
    CurrentPrompter().Show(text, kCaption, warning ? PromptIcon::Warning : PromptIcon::Information,
                           PromptButtons::Ok);
    m_panel.Console().ResumePolling();
    return text;
}

void PanelHistory::RefreshPanel() {
    m_panel.Console().BindKnobs();
    m_panel.Console().ShowFunctionLabels();
}

std::string PanelHistory::StepMismatch(int unit, const UndoStep& step) {
    const int model = g_unitStatus[kStatusByteModel];
    if (model != step.model) {
        return "Not undone: " + UnitName(unit) + " is a model " + std::to_string(model) +
               " now; the change of " + step.name + " was made on a model " +
               std::to_string(step.model) + ".";
    }
    if (MenuImageHash(unit) != step.menuImageHash) {
        return "Not undone: " + UnitName(unit) + " has another menu image since the change of " +
               step.name + ".";
    }
    return {};
}

std::string PanelHistory::Undo() {
    if (std::string why = Unavailable(); !why.empty()) {
        m_panel.Console().ShowMessage(why);
        return why;
    }
    CollectChanges(true);
    const int unit = m_panel.SelectedUnit();
    const std::optional<UndoStep> step = m_undo.Take(unit);
    if (!step) {
        const std::string text = "Nothing to undo on " + UnitName(unit) + ".";
        m_panel.Console().ShowMessage(text);
        return text;
    }
    if (std::string why = StepMismatch(unit, *step); !why.empty()) {
        // Kept: it holds again should the unit it was made on come back.
        m_undo.Push(unit, *step);
        m_panel.Console().ShowMessage(why);
        return why;
    }
    Status status = Status::Ok;
    {
        const ChangeRecorder::CauseScope cause(m_recorder, ChangeCause::Undo);
        const LineWork work("undoing a change of " + UnitName(unit));
        m_panel.Console().StopPolling();
        status = step->number <= kLastKnobParameter
                     ? SetParameterWord(static_cast<uint8_t>(step->number),
                                        static_cast<uint16_t>(step->oldValue))
                     : SetParameterByte(static_cast<uint8_t>(step->number),
                                        static_cast<uint8_t>(step->oldValue));
        m_panel.Console().ResumePolling();
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
    m_panel.Console().ShowMessage(text);
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
        m_panel.Console().StopPolling();
        CAsRunLogDialog dialog(&m_panel, std::move(lines));
        dialog.exec();
        m_panel.Console().ResumePolling();
    };
    return prompts;
}
