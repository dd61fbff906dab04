#pragma once

#include <QObject>
#include <array>
#include <functional>
#include <vector>

#include "actions/ControlActions.h"
#include "actions/PanelState.h"

class CTavrinoxDlg;

// The panel's named actions, for every source alike. An action asked for while the line
// carries other work, or from inside another action's wait, runs once the window is free;
// turns of one knob that meet there are summed into a single turn, so a fast surface never
// queues up behind the line and loses nothing, and the action claims the line as held input
// does, so a poll of an absent unit gives it up. An open dialog or message box refuses
// actions: it owns the panel until it closes. Each action's work runs with its origin as the
// current one (OriginScope), so the as-run log names its source.
class PanelActions : public QObject, public ControlActions {
    Q_OBJECT

  public:
    explicit PanelActions(CTavrinoxDlg& panel);

    ActionOutcome TurnKnob(int knob, int delta, const ActionOrigin& origin) override;
    ActionOutcome PressMenuButton(int button, const ActionOrigin& origin) override;
    ActionOutcome PressFunctionButton(int button, const ActionOrigin& origin) override;
    ActionOutcome PressToggle(const std::string& label, const ActionOrigin& origin) override;
    ActionOutcome SelectUnit(int unit, const ActionOrigin& origin) override;
    ActionOutcome RecallMemory(int memory, const ActionOrigin& origin) override;
    ActionOutcome StoreMemory(int memory, const ActionOrigin& origin) override;
    ActionOutcome SetParameter(int number, int value, const ActionOrigin& origin) override;

    // Turns summed and not yet sent, by knob.
    int PendingTurn(int knob) const { return m_pendingTurn.at(knob); }

    // The state every source shows; listeners hear of each change once the window is free.
    PanelState CurrentState() const;
    void AddListener(PanelStateListener* listener);
    void RemoveListener(PanelStateListener* listener);
    // Something the panel shows may have changed: listeners hear of it soon, once.
    void StateMayHaveChanged();

  private:
    // Why no action can run now; empty when one can.
    std::string Busy() const;
    std::string NeedsUnit() const;
    std::string NeedsMenus() const;
    // Runs `work` now when nothing waits on the line, else once the wait is over.
    void RunWhenFree(const ActionOrigin& origin, std::function<void()> work);
    void SendTurns();
    void TellListeners();

    CTavrinoxDlg& m_panel;
    std::array<int, kActionKnobs> m_pendingTurn{};
    bool m_turnsQueued = false;
    bool m_pollsHeld = false;  // turns wait to be sent: the polls stop as for a held knob
    ActionOrigin m_turnOrigin;
    bool m_claimed = false;  // an action queued inside a wait claims the line until it ends
    bool m_tellQueued = false;
    std::vector<PanelStateListener*> m_listeners;
    PanelState m_told;
};
