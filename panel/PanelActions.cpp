#include "panel/PanelActions.h"

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <limits>

#include "actions/OriginScope.h"
#include "controls/CBitmapSlider.h"
#include "controls/CCanvasCtrl.h"
#include "controls/CImageTextButton.h"
#include "controls/CImageToggleButton.h"
#include "controls/CInfoBar.h"
#include "controls/CLabel.h"
#include "history/ValueText.h"
#include "link/Framing.h"
#include "link/LineDemand.h"
#include "link/ParameterCommands.h"
#include "link/StorageTables.h"
#include "panel/CTavrinoxDlg.h"
#include "platform/WindowWait.h"

namespace {

std::string Numbered(const char* what, int number) {
    return std::string(what) + " " + std::to_string(number);
}

std::string OutOfRange(const char* what, int number, int count, int first) {
    return Numbered(what, number) + " does not exist: they are numbered " + std::to_string(first) +
           " to " + std::to_string(first + count - 1) + ".";
}

// The hard key printed `label`, matched without regard to case.
CImageToggleButton* ToggleLabelled(const CTavrinoxDlg& panel, const std::string& label) {
    const QString wanted = QString::fromStdString(label).trimmed();
    for (int i = 0; i < CTavrinoxDlg::kToggles; ++i) {
        CImageToggleButton* toggle = panel.Toggle(i);
        if (toggle != nullptr &&
            toggle->property("label").toString().compare(wanted, Qt::CaseInsensitive) == 0) {
            return toggle;
        }
    }
    return nullptr;
}

KnobState KnobStateOf(const CCanvasCtrl* display) {
    KnobState state;
    if (display == nullptr || !display->IsActive() || display->Param() == nullptr) {
        return state;
    }
    const ParamRecord& record = *display->Param();
    state.bound = true;
    state.parameter = record.number >= 0 && record.number < kEmptyKnobParam &&
                              &record == &g_paramTable[record.number]
                          ? record.number
                          : -1;
    state.name = record.name;
    state.value = record.value;
    state.minimum = record.rawMin;
    state.maximum = record.rawMax;
    state.valueText = ParameterValueText(record, record.value);
    return state;
}

ButtonState ButtonStateOf(const CImageTextButton* button) {
    if (button == nullptr || !button->isVisible()) {
        return {};
    }
    return {button->Caption(), button->ImageIndex() != 0};
}

}  // namespace

PanelActions::PanelActions(CTavrinoxDlg& panel) : QObject(&panel), m_panel(panel) {}

std::string PanelActions::Busy() const {
    // The panel itself runs modal in the program; another modal window is one of its dialogs
    // or boxes.
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != &m_panel) {
        return "The panel has a dialog open; close it first.";
    }
    return {};
}

std::string PanelActions::NeedsUnit() const {
    if (g_currentUnitAddress == 0 || m_panel.SelectedUnit() == 0) {
        return "No unit is selected.";
    }
    if (m_panel.LinkLost()) {
        return "The link to the selected unit is lost.";
    }
    return Busy();
}

std::string PanelActions::NeedsMenus() const {
    std::string why = NeedsUnit();
    if (why.empty() && m_panel.CurrentMenuShown() < 0) {
        why = "The selected unit's menus are not loaded yet.";
    }
    return why;
}

void PanelActions::RunWhenFree(const ActionOrigin& origin, std::function<void()> work) {
    // The work's changes are logged with whoever asked for it.
    auto run = [this, origin, work = std::move(work)] {
        const OriginScope scope(origin);
        work();
        StateMayHaveChanged();
    };
    if (WindowWait::Depth() == 0 && OnWindowThread()) {
        run();
        return;
    }
    // Inside a wait the action claims the line as held input does: a poll still waiting for
    // an absent unit gives it up, so the action does not wait out the tick. The claim ends
    // once the wait is over.
    if (!m_claimed) {
        m_claimed = true;
        LineDemand::Raise();
        WindowWait::WhenIdle(this, [this] {
            m_claimed = false;
            LineDemand::Clear();
        });
    }
    WindowWait::WhenIdle(this, std::move(run));
}

ActionOutcome PanelActions::TurnKnob(int knob, int delta, const ActionOrigin& origin) {
    if (knob < 0 || knob >= kActionKnobs) {
        return ActionOutcome::Refused(OutOfRange("Knob", knob + 1, kActionKnobs, 1));
    }
    if (std::string why = NeedsUnit(); !why.empty()) {
        return ActionOutcome::Refused(why);
    }
    const CCanvasCtrl* display = m_panel.KnobDisplay(knob);
    if (display == nullptr || !display->IsActive()) {
        return ActionOutcome::Refused(Numbered("Knob", knob + 1) + " has nothing to turn here.");
    }
    if (delta == 0) {
        return ActionOutcome::Taken();
    }
    // A turn goes to the unit in 16 bits; what waits beyond that waits for the next one.
    constexpr int kMost = std::numeric_limits<int16_t>::max();
    m_pendingTurn[knob] = std::clamp(m_pendingTurn[knob] + delta, -kMost, kMost);
    // Turns summed into one go as the last asker's.
    m_turnOrigin = origin;
    if (!m_turnsQueued) {
        m_turnsQueued = true;
        // Turns that have to wait are a knob held, as a mouse holds one: the polls stop
        // until the last turn is sent, so none comes between the turns of a spin.
        if (!m_pollsHeld && (WindowWait::Depth() > 0 || !OnWindowThread())) {
            m_pollsHeld = true;
            m_panel.StopPolling();
        }
        RunWhenFree(origin, [this] {
            const OriginScope scope(m_turnOrigin);
            SendTurns();
        });
    }
    return ActionOutcome::Taken();
}

// Each knob's sum goes as one turn; turns that arrive while one is on the line meet in the
// next sum.
void PanelActions::SendTurns() {
    // The line's silence before a request is waited out first: turns that come meanwhile
    // join this sum, so the last turn of a spin leaves within one exchange of it.
    static_cast<void>(DrainInput());
    m_turnsQueued = false;
    for (int knob = 0; knob < kActionKnobs; ++knob) {
        const int steps = std::exchange(m_pendingTurn[knob], 0);
        if (steps != 0 && m_panel.Knob(knob) != nullptr) {
            m_panel.Knob(knob)->TurnBySteps(steps);
        }
    }
    // Turns that came meanwhile have a send of their own queued; the polls wait for it.
    if (!m_turnsQueued && m_pollsHeld) {
        m_pollsHeld = false;
        m_panel.ResumePolling();
    }
}

ActionOutcome PanelActions::PressMenuButton(int button, const ActionOrigin& origin) {
    if (button < 0 || button >= kActionMenuButtons) {
        return ActionOutcome::Refused(OutOfRange("Menu button", button + 1, kActionMenuButtons, 1));
    }
    if (std::string why = NeedsMenus(); !why.empty()) {
        return ActionOutcome::Refused(why);
    }
    RunWhenFree(origin, [this, button] { m_panel.OnMenuButton(button); });
    return ActionOutcome::Taken();
}

ActionOutcome PanelActions::PressFunctionButton(int button, const ActionOrigin& origin) {
    if (button < 0 || button >= kActionFunctionButtons) {
        return ActionOutcome::Refused(
            OutOfRange("Function button", button + 1, kActionFunctionButtons, 1));
    }
    if (std::string why = NeedsMenus(); !why.empty()) {
        return ActionOutcome::Refused(why);
    }
    RunWhenFree(origin, [this, button] { m_panel.OnFunctionButton(button); });
    return ActionOutcome::Taken();
}

ActionOutcome PanelActions::PressToggle(const std::string& label, const ActionOrigin& origin) {
    CImageToggleButton* toggle = ToggleLabelled(m_panel, label);
    if (toggle == nullptr) {
        return ActionOutcome::Refused("The panel has no key \"" + label + "\".");
    }
    if (ToggleNeedsUnit(toggle->Kind())) {
        if (std::string why = NeedsUnit(); !why.empty()) {
            return ActionOutcome::Refused(why);
        }
    } else if (std::string why = Busy(); !why.empty()) {
        return ActionOutcome::Refused(why);
    }
    RunWhenFree(origin, [toggle] { toggle->Press(); });
    return ActionOutcome::Taken();
}

ActionOutcome PanelActions::SelectUnit(int unit, const ActionOrigin& origin) {
    if (unit < 1 || unit > kActionUnits) {
        return ActionOutcome::Refused(OutOfRange("Unit", unit, kActionUnits, 1));
    }
    return PressToggle(Numbered("UNIT", unit), origin);
}

ActionOutcome PanelActions::RecallMemory(int memory, const ActionOrigin& origin) {
    if (memory < 1 || memory > kActionMemories) {
        return ActionOutcome::Refused(OutOfRange("Memory", memory, kActionMemories, 1));
    }
    return PressToggle(Numbered("MEM", memory), origin);
}

ActionOutcome PanelActions::StoreMemory(int memory, const ActionOrigin& origin) {
    if (memory < 1 || memory > kActionMemories) {
        return ActionOutcome::Refused(OutOfRange("Memory", memory, kActionMemories, 1));
    }
    if (std::string why = NeedsUnit(); !why.empty()) {
        return ActionOutcome::Refused(why);
    }
    RunWhenFree(origin, [this, memory] {
        if (!m_panel.AttributeLatchSet()) {
            if (CImageToggleButton* latch = ToggleLabelled(m_panel, "ALT")) {
                latch->Press();
            }
        }
        if (CImageToggleButton* key = ToggleLabelled(m_panel, Numbered("MEM", memory))) {
            key->Press();
        }
    });
    return ActionOutcome::Taken();
}

ActionOutcome PanelActions::SetParameter(int number, int value, const ActionOrigin& origin) {
    if (number < 0 || number >= kEmptyKnobParam || g_paramTable[number].name.empty()) {
        return ActionOutcome::Refused(Numbered("Parameter", number) +
                                      " is not one of the selected unit's.");
    }
    if (std::string why = NeedsUnit(); !why.empty()) {
        return ActionOutcome::Refused(why);
    }
    const ParamRecord& record = g_paramTable[number];
    if (record.rawMin < record.rawMax && (value < record.rawMin || value > record.rawMax)) {
        return ActionOutcome::Refused(Numbered("Parameter", number) + " takes " +
                                      std::to_string(record.rawMin) + " to " +
                                      std::to_string(record.rawMax) + ".");
    }
    if (value < 0 || value > std::numeric_limits<uint16_t>::max()) {
        return ActionOutcome::Refused("A value is sent in 16 bits.");
    }
    RunWhenFree(origin, [this, number, value] {
        static_cast<void>(
            SetParameterWord(static_cast<uint8_t>(number), static_cast<uint16_t>(value)));
        m_panel.BindKnobs();
    });
    return ActionOutcome::Taken();
}

PanelState PanelActions::CurrentState() const {
    PanelState state;
    state.selectedUnit = m_panel.SelectedUnit();
    for (int unit = 1; unit <= kActionUnits; ++unit) {
        state.onLine[unit - 1] = m_panel.AnsweringAddress(unit) != 0;
    }
    state.linkLost = m_panel.LinkLost();
    if (m_panel.TitleLabel() != nullptr) {
        state.menuTitle = m_panel.TitleLabel()->Text();
    }
    if (m_panel.InfoBar() != nullptr) {
        const CInfoBar& info = *m_panel.InfoBar();
        state.infoLine = info.Alert().empty() ? info.Message() : info.Alert();
    }
    for (int knob = 0; knob < kActionKnobs; ++knob) {
        state.knobs[knob] = KnobStateOf(m_panel.KnobDisplay(knob));
    }
    for (int button = 0; button < kActionMenuButtons; ++button) {
        state.menuButtons[button] = ButtonStateOf(m_panel.MenuButton(button));
    }
    for (int button = 0; button < kActionFunctionButtons; ++button) {
        state.functionButtons[button] = ButtonStateOf(m_panel.FunctionButton(button));
    }
    for (int i = 0; i < kStateToggles; ++i) {
        if (const CImageToggleButton* toggle = m_panel.Toggle(i)) {
            state.toggles[i] = {toggle->property("label").toString().toStdString(), toggle->IsOn()};
        }
    }
    return state;
}

void PanelActions::AddListener(PanelStateListener* listener) {
    if (listener != nullptr &&
        std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end()) {
        m_listeners.push_back(listener);
        listener->OnPanelState(CurrentState());
    }
}

void PanelActions::RemoveListener(PanelStateListener* listener) {
    std::erase(m_listeners, listener);
}

void PanelActions::StateMayHaveChanged() {
    if (m_tellQueued || m_listeners.empty()) {
        return;
    }
    m_tellQueued = true;
    QTimer::singleShot(0, this, [this] { TellListeners(); });
}

void PanelActions::TellListeners() {
    m_tellQueued = false;
    PanelState state = CurrentState();
    if (state == m_told) {
        return;
    }
    m_told = std::move(state);
    // A listener may leave while it is told.
    const std::vector<PanelStateListener*> listeners = m_listeners;
    for (PanelStateListener* listener : listeners) {
        if (std::find(m_listeners.begin(), m_listeners.end(), listener) != m_listeners.end()) {
            listener->OnPanelState(m_told);
        }
    }
}
