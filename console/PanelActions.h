#pragma once

#include <QObject>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "actions/ControlActions.h"
#include "actions/PanelState.h"
#include "console/KnobDrive.h"

class PanelConsole;
class PanelView;

// The panel's named actions, for every source alike: the mouse, the keys, a control surface
// and a network client. An action runs at once while nothing waits; asked for while the line
// carries other work, or while earlier input and work wait, it takes its place in the
// window's one queue (WindowWait::WhenIdle) and is resolved when its turn comes: which unit,
// which menu, which button by its caption, which range, whether a dialog is open. Turns of
// one knob that meet at the queue's end go as one. An open dialog or message box refuses
// actions: it owns the panel until it closes. Each action's work runs with its origin as the
// current one (OriginScope), so the as-run log names its source.
class PanelActions : public QObject, public ControlActions {
    Q_OBJECT

  public:
    explicit PanelActions(PanelConsole& console, QObject* parent = nullptr);

    ActionOutcome TurnKnob(int knob, int delta, const ActionOrigin& origin) override;
    ActionOutcome DragKnob(int knob, int deflection, const ActionOrigin& origin) override;
    ActionOutcome PressKnobDisplay(int knob, const ActionOrigin& origin) override;
    ActionOutcome PressMenuButton(int button, const ActionOrigin& origin) override;
    ActionOutcome PressFunctionButton(int button, const ActionOrigin& origin) override;
    ActionOutcome PressToggle(const std::string& label, const ActionOrigin& origin) override;
    ActionOutcome PressLabelled(const std::string& label, const ActionOrigin& origin) override;
    ActionOutcome SelectUnit(int unit, const ActionOrigin& origin) override;
    ActionOutcome RecallMemory(int memory, const ActionOrigin& origin) override;
    ActionOutcome StoreMemory(int memory, const ActionOrigin& origin) override;
    ActionOutcome SetParameter(int number, int value, const ActionOrigin& origin) override;
    ActionOutcome SetFoundParameter(std::function<ParameterChange()> find,
                                    const ActionOrigin& origin) override;

    // Turns waiting in the queue, by knob.
    int PendingTurn(int knob) const;
    // What knob `knob`'s coarse parameter has built up from a drag's ticks.
    int StepAccumulator(int knob) const { return m_drives.at(knob).StepAccumulator(); }

    // The state every source shows; listeners hear of each change once the window is free,
    // and of the values the polls read as they land.
    PanelState CurrentState() const;
    void AddListener(PanelStateListener* listener);
    void RemoveListener(PanelStateListener* listener);
    // Something the panel shows may have changed: listeners hear of it soon, once.
    void StateMayHaveChanged();

  private:
    struct PendingTurnItem;
    using Work = std::function<ActionOutcome()>;

    // Why no action can run now; empty when one can.
    std::string Busy() const;
    std::string NeedsUnit() const;
    std::string NeedsMenus() const;
    static bool RunsNow();
    // Runs `work` now when nothing waits, else queues it; `tag` lets a later turn join it.
    ActionOutcome Run(const ActionOrigin& origin, Work work, const void* tag = nullptr);
    ActionOutcome RunWork(const ActionOrigin& origin, const Work& work);
    ActionOutcome PressKey(int key, const ActionOrigin& origin);
    // A value set as it runs: the parameter's range then, the unit then.
    ActionOutcome SetNow(int number, int value);
    using Need = std::string (PanelActions::*)() const;
    ActionOutcome PressNumbered(const char* what, int index, int count, Need need,
                                std::function<void()> press, std::function<bool()> opensDialog,
                                const ActionOrigin& origin);
    ActionOutcome TurnBound(int knob, int amount, KnobTurn kind);
    void SendTurn(PendingTurnItem& item);
    void TellListeners();
    void TellRefused(const ActionOrigin& origin, const std::string& reason);

    PanelConsole& m_console;
    PanelView& m_panel;
    std::array<KnobDrive, kActionKnobs> m_drives{};
    // The turns queued and not yet sent; the last of them may take more turns of its knob.
    std::vector<std::shared_ptr<PendingTurnItem>> m_pendingTurns;
    int m_turnPollHolds = 0;  // queued turns hold the polls, as a held knob does
    bool m_claimed = false;   // queued work claims the line until its turn comes
    bool m_tellQueued = false;
    std::vector<PanelStateListener*> m_listeners;
    PanelState m_told;
};
