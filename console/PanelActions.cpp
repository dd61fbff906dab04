#include "console/PanelActions.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

#include "actions/OriginScope.h"
#include "console/HardKeys.h"
#include "console/PanelConsole.h"
#include "console/PanelView.h"
#include "console/SourcePolicy.h"
#include "link/Framing.h"
#include "link/LineDemand.h"
#include "link/ParameterCommands.h"
#include "model/KnobGauge.h"
#include "model/OptionLabels.h"
#include "platform/WindowWait.h"

namespace {

constexpr int kMost16 = std::numeric_limits<int16_t>::max();
constexpr int kLeast16 = std::numeric_limits<int16_t>::min();

std::string Numbered(const char* what, int number) {
    return std::string(what) + " " + std::to_string(number);
}

std::string OutOfRange(const char* what, int number, int count, int first) {
    return Numbered(what, number) + " does not exist: they are numbered " + std::to_string(first) +
           " to " + std::to_string(first + count - 1) + ".";
}

bool IsNamed(const ParamRecord* record) {
    return record != nullptr && !record->name.empty();
}

KnobState KnobStateOf(const ParamRecord* record) {
    KnobState state;
    if (!IsNamed(record)) {
        return state;
    }
    state.bound = true;
    state.parameter = IsUnitParameter(*record) ? record->number : -1;
    state.name = record->name;
    state.value = record->value;
    state.minimum = record->rawMin;
    state.maximum = record->rawMax;
    state.valueText = ShownValueText(*record);
    return state;
}

// The reach of a hard key's press beyond the unit's values, if any.
std::optional<PanelReach> ReachOf(ToggleKind kind) {
    switch (kind) {
        case ToggleKind::Setup:
            return PanelReach::PortSetup;
        case ToggleKind::FileClear:
            return PanelReach::FileClear;
        default:
            return std::nullopt;
    }
}

}  // namespace

struct PanelActions::PendingTurnItem {
    int knob = 0;
    int steps = 0;
    ActionOrigin origin;
    bool running = false;  // its turn came: it waits out the line's silence, then sends
};

PanelActions::PanelActions(PanelConsole& console, QObject* parent)
    : QObject(parent), m_console(console), m_panel(console.View()) {
    // A unit's own change is told as its answer lands: the rest of the poll tick takes
    // exchanges that would hold it back for more than a push interval.
    m_console.SetValuesReadHook([self = QPointer<PanelActions>(this)] {
        if (self && !self->m_listeners.empty()) {
            self->TellListeners();
        }
    });
}

std::string PanelActions::Busy() const {
    // The panel itself runs modal in the program; another modal window is one of its dialogs
    // or boxes.
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != parent()) {
        return "The panel has a dialog open; close it first.";
    }
    return {};
}

std::string PanelActions::NeedsUnit() const {
    if (g_currentUnitAddress == 0 || m_console.SelectedUnit() == 0) {
        return "No unit is selected.";
    }
    if (m_console.LinkLost()) {
        return "The link to the selected unit is lost.";
    }
    return {};
}

std::string PanelActions::NeedsMenus() const {
    std::string why = NeedsUnit();
    if (why.empty() && (g_unitStatus[kStatusByteModel] == 0 ||
                        g_panelModel.m_currentMenu[m_console.SelectedUnit()] < 0)) {
        why = "The selected unit's menus are not loaded yet.";
    }
    return why;
}

// Nothing waits on the window's thread: an action is resolved and runs at once.
bool PanelActions::RunsNow() {
    return OnWindowThread() && WindowWait::Depth() == 0 && WindowWait::HeldCount() == 0;
}

ActionOutcome PanelActions::Run(const ActionOrigin& origin, Work work, const void* tag) {
    if (!OnWindowThread()) {
        QMetaObject::invokeMethod(
            this, [this, origin, work = std::move(work)] { Run(origin, work); },
            Qt::QueuedConnection);
        return ActionOutcome::Queued();
    }
    // A dialog owns the panel until it closes: nothing is queued behind it.
    if (std::string why = Busy(); !why.empty()) {
        return ActionOutcome::Refused(why);
    }
    if (RunsNow()) {
        return RunWork(origin, work);
    }
    // Queued work claims the line as held input does: a poll still waiting for an absent unit
    // gives it up, so the work does not wait out the tick. The claim ends when its turn comes.
    if (!m_claimed && WindowWait::Depth() > 0) {
        m_claimed = true;
        LineDemand::Raise();
    }
    const bool queued = WindowWait::WhenIdle(
        this,
        [this, origin, work = std::move(work)] {
            if (std::exchange(m_claimed, false)) {
                LineDemand::Clear();
            }
            const ActionOutcome outcome = RunWork(origin, work);
            if (!outcome.taken) {
                TellRefused(origin, outcome.reason);
            }
        },
        tag);
    if (!queued) {
        return ActionOutcome::Refused("The panel has " + std::to_string(WindowWait::HeldCount()) +
                                      " actions waiting for the line; try again in a moment.");
    }
    return ActionOutcome::Queued();
}

ActionOutcome PanelActions::RunWork(const ActionOrigin& origin, const Work& work) {
    if (std::string why = Busy(); !why.empty()) {
        return ActionOutcome::Refused(why);
    }
    const OriginScope scope(origin);
    ActionOutcome outcome = work();
    StateMayHaveChanged();
    return outcome;
}

ActionOutcome PanelActions::TurnBound(int knob, int amount, KnobTurn kind) {
    if (std::string why = NeedsUnit(); !why.empty()) {
        return ActionOutcome::Refused(why);
    }
    ParamRecord* record = m_console.BoundRecord(knob);
    if (!IsNamed(record)) {
        return ActionOutcome::Refused(Numbered("Knob", knob + 1) + " has nothing to turn here.");
    }
    if (kind == KnobTurn::Drag) {
        amount = KnobDrive::DragAmount(*record, amount);
    }
    switch (m_drives.at(knob).Turn(*record, amount, kind)) {
        case KnobDrive::Effect::None:
            break;
        case KnobDrive::Effect::Stepped:
            m_panel.RedrawKnobDisplay(knob);
            break;
        case KnobDrive::Effect::Turned:
            m_console.BindKnobs();
            break;
    }
    return ActionOutcome::Taken();
}

ActionOutcome PanelActions::TurnKnob(int knob, int delta, const ActionOrigin& origin) {
    if (knob < 0 || knob >= kActionKnobs) {
        return ActionOutcome::Refused(OutOfRange("Knob", knob + 1, kActionKnobs, 1));
    }
    if (delta == 0) {
        return ActionOutcome::Taken();
    }
    // Turns of this knob at the queue's end (or waiting out the line's silence, with nothing
    // behind them) take this one too, as the last asker's.
    if (!m_pendingTurns.empty()) {
        PendingTurnItem& last = *m_pendingTurns.back();
        const bool atTheEnd =
            last.running ? WindowWait::HeldCount() == 0 : WindowWait::TailTag() == &last;
        if (last.knob == knob && atTheEnd) {
            last.steps = std::clamp(last.steps + delta, -kMost16, kMost16);
            last.origin = origin;
            return ActionOutcome::Queued();
        }
    }
    if (RunsNow()) {
        return RunWork(origin, [this, knob, delta] {
            return TurnBound(knob, std::clamp(delta, kLeast16, kMost16), KnobTurn::Steps);
        });
    }
    auto item = std::make_shared<PendingTurnItem>();
    item->knob = knob;
    item->steps = std::clamp(delta, -kMost16, kMost16);
    item->origin = origin;
    // Turns that wait are a knob held, as a mouse holds one: no poll comes between the
    // turns of a spin.
    m_console.StopPolling();
    ++m_turnPollHolds;
    m_pendingTurns.push_back(item);
    const ActionOutcome outcome = Run(
        origin,
        [this, item] {
            SendTurn(*item);
            return ActionOutcome::Taken();
        },
        item.get());
    if (!outcome.taken) {
        m_pendingTurns.pop_back();
        --m_turnPollHolds;
        m_console.ResumePolling();
    }
    return outcome;
}

// The line's silence before the request is waited out first: turns that come meanwhile join
// this sum, so the last turn of a spin leaves within one exchange of it.
void PanelActions::SendTurn(PendingTurnItem& item) {
    item.running = true;
    static_cast<void>(DrainInput());
    std::erase_if(m_pendingTurns, [&item](const auto& pending) { return pending.get() == &item; });
    {
        const OriginScope scope(item.origin);
        const ActionOutcome outcome = TurnBound(item.knob, item.steps, KnobTurn::Steps);
        if (!outcome.taken) {
            TellRefused(item.origin, outcome.reason);
        }
    }
    if (m_turnPollHolds > 0) {
        --m_turnPollHolds;
        m_console.ResumePolling();
    }
}

int PanelActions::PendingTurn(int knob) const {
    int steps = 0;
    for (const auto& item : m_pendingTurns) {
        steps += item->knob == knob ? item->steps : 0;
    }
    return steps;
}

ActionOutcome PanelActions::DragKnob(int knob, int deflection, const ActionOrigin& origin) {
    if (knob < 0 || knob >= kActionKnobs) {
        return ActionOutcome::Refused(OutOfRange("Knob", knob + 1, kActionKnobs, 1));
    }
    if (deflection == 0) {
        return ActionOutcome::Taken();
    }
    return Run(origin,
               [this, knob, deflection] { return TurnBound(knob, deflection, KnobTurn::Drag); });
}

// A numbered control's press: its number checked now, what it needs and whether it would
// open a dialog its source may not open when it runs.
ActionOutcome PanelActions::PressNumbered(const char* what, int index, int count, Need need,
                                          std::function<void()> press,
                                          std::function<bool()> opensDialog,
                                          const ActionOrigin& origin) {
    if (index < 0 || index >= count) {
        return ActionOutcome::Refused(OutOfRange(what, index + 1, count, 1));
    }
    return Run(origin, [this, need, press = std::move(press), opensDialog = std::move(opensDialog),
                        origin] {
        if (std::string why = (this->*need)(); !why.empty()) {
            return ActionOutcome::Refused(why);
        }
        if (opensDialog()) {
            if (std::string why = RefusedReach(origin, PanelReach::Dialog); !why.empty()) {
                return ActionOutcome::Refused(why);
            }
        }
        press();
        return ActionOutcome::Taken();
    });
}

// With ALT lit a display's or a function button's press opens the attributes dialog.
ActionOutcome PanelActions::PressKnobDisplay(int knob, const ActionOrigin& origin) {
    return PressNumbered(
        "Knob", knob, kActionKnobs, &PanelActions::NeedsUnit,
        [this, knob] { m_console.OnKnobDisplayDoubleClick(knob); },
        [this] { return m_console.AttributeLatchSet(); }, origin);
}

ActionOutcome PanelActions::PressMenuButton(int button, const ActionOrigin& origin) {
    return PressNumbered(
        "Menu button", button, kActionMenuButtons, &PanelActions::NeedsMenus,
        [this, button] { m_console.OnMenuButton(button); },
        [this, button] { return m_console.MenuButtonOpensDialog(button); }, origin);
}

ActionOutcome PanelActions::PressFunctionButton(int button, const ActionOrigin& origin) {
    return PressNumbered(
        "Function button", button, kActionFunctionButtons, &PanelActions::NeedsMenus,
        [this, button] { m_console.OnFunctionButton(button); },
        [this] { return m_console.AttributeLatchSet(); }, origin);
}

// The hard key `index` as its press runs it, resolved now.
ActionOutcome PanelActions::PressKey(int index, const ActionOrigin& origin) {
    const HardKey& key = HardKeys()[index];
    if (const std::optional<PanelReach> reach = ReachOf(key.kind)) {
        if (std::string why = RefusedReach(origin, *reach); !why.empty()) {
            return ActionOutcome::Refused(why);
        }
    }
    if (ToggleNeedsUnit(key.kind) && g_currentUnitAddress == 0) {
        return ActionOutcome::Refused("No unit is selected.");
    }
    // Until the menus are back, a press would show another unit's tables over this one's,
    // and the poll would no longer see the menus as missing.
    if (ToggleNeedsMenus(key.kind)) {
        if (std::string why = NeedsMenus(); !why.empty()) {
            return ActionOutcome::Refused(why);
        }
    }
    switch (key.kind) {
        case ToggleKind::MenuShortcut:
            m_console.SelectShortcut(key.number);
            break;
        case ToggleKind::View:
            m_console.SelectView(key.number);
            break;
        case ToggleKind::UnitSelect:
            m_console.SelectUnit(key.number);
            break;
        case ToggleKind::Memory:
            m_console.RecallMemory(key.number);
            break;
        case ToggleKind::FileClear:
            m_console.ClearFiles();
            break;
        case ToggleKind::AttributeLatch:
            m_console.FlipAttributeLatch();
            break;
        case ToggleKind::Setup:
            m_console.RunPortSetupKey();
            break;
        case ToggleKind::None:
            break;
    }
    return ActionOutcome::Taken();
}

ActionOutcome PanelActions::PressToggle(const std::string& label, const ActionOrigin& origin) {
    const int key = HardKeyLabelled(label);
    if (key < 0) {
        return ActionOutcome::Refused("The panel has no key \"" + label + "\".");
    }
    return Run(origin, [this, key, origin] { return PressKey(key, origin); });
}

// A key's label, then a menu button's caption, then a function button's, as the panel shows
// them when the press's turn comes.
ActionOutcome PanelActions::PressLabelled(const std::string& label, const ActionOrigin& origin) {
    return Run(origin, [this, label, origin] {
        if (const int key = HardKeyLabelled(label); key >= 0) {
            return PressKey(key, origin);
        }
        const PanelState state = CurrentState();
        int menuButton = -1;
        int functionButton = -1;
        for (int i = 0; i < kActionMenuButtons && menuButton < 0; ++i) {
            menuButton = SameLabel(state.menuButtons[i].label, label) ? i : -1;
        }
        for (int i = 0; i < kActionFunctionButtons && menuButton < 0 && functionButton < 0; ++i) {
            functionButton = SameLabel(state.functionButtons[i].label, label) ? i : -1;
        }
        if (menuButton >= 0 || functionButton >= 0) {
            if (std::string why = NeedsMenus(); !why.empty()) {
                return ActionOutcome::Refused(why);
            }
            const bool opensDialog = menuButton >= 0 ? m_console.MenuButtonOpensDialog(menuButton)
                                                     : m_console.AttributeLatchSet();
            if (std::string why = opensDialog ? RefusedReach(origin, PanelReach::Dialog) : "";
                !why.empty()) {
                return ActionOutcome::Refused(why);
            }
            if (menuButton >= 0) {
                m_console.OnMenuButton(menuButton);
            } else {
                m_console.OnFunctionButton(functionButton);
            }
            return ActionOutcome::Taken();
        }
        return ActionOutcome::Refused("The panel shows no key or button \"" + label + "\".");
    });
}

ActionOutcome PanelActions::SelectUnit(int unit, const ActionOrigin& origin) {
    if (unit < 1 || unit > kActionUnits) {
        return ActionOutcome::Refused(OutOfRange("Unit", unit, kActionUnits, 1));
    }
    return PressToggle(Numbered("UNIT", unit), origin);
}

// A recall recalls whatever the latch says: with ALT lit a memory key would store.
ActionOutcome PanelActions::RecallMemory(int memory, const ActionOrigin& origin) {
    if (memory < 1 || memory > kActionMemories) {
        return ActionOutcome::Refused(OutOfRange("Memory", memory, kActionMemories, 1));
    }
    return Run(origin, [this, memory, origin] {
        if (std::string why = NeedsMenus(); !why.empty()) {
            return ActionOutcome::Refused(why);
        }
        if (m_console.AttributeLatchSet()) {
            m_console.ClearAttributeLatch();
        }
        return PressKey(HardKeyOf(ToggleKind::Memory, memory), origin);
    });
}

ActionOutcome PanelActions::StoreMemory(int memory, const ActionOrigin& origin) {
    if (memory < 1 || memory > kActionMemories) {
        return ActionOutcome::Refused(OutOfRange("Memory", memory, kActionMemories, 1));
    }
    return Run(origin, [this, memory, origin] {
        if (std::string why = NeedsUnit(); !why.empty()) {
            return ActionOutcome::Refused(why);
        }
        if (!m_console.AttributeLatchSet()) {
            m_console.FlipAttributeLatch();
        }
        return PressKey(HardKeyOf(ToggleKind::Memory, memory), origin);
    });
}

namespace {

std::string Not16Bits(int value) {
    if (value >= kLeast16 && value <= kMost16) {
        return {};
    }
    return "A value is sent in 16 bits: " + std::to_string(kLeast16) + " to " +
           std::to_string(kMost16) + ".";
}

}  // namespace

ActionOutcome PanelActions::SetParameter(int number, int value, const ActionOrigin& origin) {
    if (std::string why = Not16Bits(value); !why.empty()) {
        return ActionOutcome::Refused(why);
    }
    return Run(origin, [this, number, value] { return SetNow(number, value); });
}

// A change named by a parameter's name or shown value: found when its turn comes, against the
// tables of the unit selected then.
ActionOutcome PanelActions::SetFoundParameter(std::function<ParameterChange()> find,
                                              const ActionOrigin& origin) {
    return Run(origin, [this, find = std::move(find)] {
        const ParameterChange change = find();
        if (!change.refusal.empty()) {
            return ActionOutcome::Refused(change.refusal);
        }
        if (std::string why = Not16Bits(change.value); !why.empty()) {
            return ActionOutcome::Refused(why);
        }
        return SetNow(change.number, change.value);
    });
}

ActionOutcome PanelActions::SetNow(int number, int value) {
    if (number < 0 || number >= kEmptyKnobParam || g_paramTable[number].name.empty()) {
        return ActionOutcome::Refused(Numbered("Parameter", number) +
                                      " is not one of the selected unit's.");
    }
    if (std::string why = NeedsUnit(); !why.empty()) {
        return ActionOutcome::Refused(why);
    }
    const ParamRecord& record = g_paramTable[number];
    // A time code counts frames from 0, as its knob does; another parameter without a range
    // takes nothing.
    const bool timecode = (record.flags & kFlagTimecode) != 0;
    const int least = timecode ? 0 : record.rawMin;
    const int most = timecode ? kMost16 : record.rawMax;
    if (least >= most) {
        return ActionOutcome::Refused(Numbered("Parameter", number) +
                                      " has no range to set on this unit.");
    }
    if (value < least || value > most) {
        return ActionOutcome::Refused(Numbered("Parameter", number) + " takes " +
                                      std::to_string(least) + " to " + std::to_string(most) + ".");
    }
    // A negative value goes as its 16-bit two's complement word.
    static_cast<void>(SetParameterWord(static_cast<uint8_t>(number), static_cast<uint16_t>(value)));
    m_console.BindKnobs();
    return ActionOutcome::Taken();
}

PanelState PanelActions::CurrentState() const {
    PanelState state;
    state.selectedUnit = m_console.SelectedUnit();
    for (int unit = 1; unit <= kActionUnits; ++unit) {
        state.onLine[unit - 1] = m_console.AnsweringAddress(unit) != 0;
    }
    state.linkLost = m_console.LinkLost();
    for (int knob = 0; knob < kActionKnobs; ++knob) {
        state.knobs[knob] = KnobStateOf(m_console.BoundRecord(knob));
    }
    m_console.FillShownState(state);
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

void PanelActions::TellRefused(const ActionOrigin& origin, const std::string& reason) {
    const std::vector<PanelStateListener*> listeners = m_listeners;
    for (PanelStateListener* listener : listeners) {
        if (std::find(m_listeners.begin(), m_listeners.end(), listener) != m_listeners.end()) {
            listener->OnActionRefused(origin, reason);
        }
    }
}
