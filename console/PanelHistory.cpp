#include "console/PanelHistory.h"

#include <array>

#include "console/PanelConsole.h"
#include "history/AsRunLines.h"
#include "history/ValueText.h"
#include "link/LineWork.h"
#include "link/ParameterCommands.h"
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

PanelHistory::PanelHistory(PanelConsole& console, std::string logPath, Prompts prompts)
    : m_console(console), m_log(std::move(logPath)), m_prompts(std::move(prompts)) {
    g_link.SetTracer(&m_recorder);
    connect(&m_collectTimer, &QTimer::timeout, this, [this] { CollectChanges(); });
    m_collectTimer.start(kCollectPeriod_ms);
}

PanelHistory::~PanelHistory() {
    CollectChanges(true);
    g_link.SetTracer(nullptr);
}

std::string PanelHistory::UnitName(int unit) {
    return "Main Unit " + std::to_string(unit);
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
    if (m_console.SelectedUnit() == 0 || g_currentUnitAddress == 0) {
        return "No unit is selected.";
    }
    if (m_console.LinkLost()) {
        return "The link to the selected unit is lost.";
    }
    if (!g_panelModel.IsImageLoaded(m_console.SelectedUnit())) {
        return "The selected unit's menus are not loaded yet.";
    }
    return {};
}

std::string PanelHistory::Tell(const std::string& text, bool warning) {
    m_console.StopPolling();
    CurrentPrompter().Show(text, kCaption, warning ? PromptIcon::Warning : PromptIcon::Information,
                           PromptButtons::Ok);
    m_console.ResumePolling();
    return text;
}

void PanelHistory::RefreshPanel() {
    m_console.BindKnobs();
    m_console.ShowFunctionLabels();
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
        m_console.ShowMessage(why);
        return why;
    }
    CollectChanges(true);
    const int unit = m_console.SelectedUnit();
    const std::optional<UndoStep> step = m_undo.Take(unit);
    if (!step) {
        const std::string text = "Nothing to undo on " + UnitName(unit) + ".";
        m_console.ShowMessage(text);
        return text;
    }
    if (std::string why = StepMismatch(unit, *step); !why.empty()) {
        // Kept: it holds again should the unit it was made on come back.
        m_undo.Push(unit, *step);
        m_console.ShowMessage(why);
        return why;
    }
    Status status = Status::Ok;
    {
        const ChangeRecorder::CauseScope cause(m_recorder, ChangeCause::Undo);
        const LineWork work("undoing a change of " + UnitName(unit));
        m_console.StopPolling();
        status = step->number <= kLastKnobParameter
                     ? SetParameterWord(static_cast<uint8_t>(step->number),
                                        static_cast<uint16_t>(step->oldValue))
                     : SetParameterByte(static_cast<uint8_t>(step->number),
                                        static_cast<uint8_t>(step->oldValue));
        m_console.ResumePolling();
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
    m_console.ShowMessage(text);
    return text;
}

void PanelHistory::ShowLog() {
    CollectChanges(true);
    // The viewer reads what the writer has written; a moment's patience lets it catch up.
    static_cast<void>(m_log.Flush(std::chrono::milliseconds(kViewerCatchUp_ms)));
    m_console.StopPolling();
    m_prompts.showLog(ReadLogLines(m_log.Path(), m_log.KeptFiles(), kViewerLines));
    m_console.ResumePolling();
}
