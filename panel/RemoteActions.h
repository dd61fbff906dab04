#pragma once

#include <QObject>

#include "actions/ControlActions.h"

// The panel's named actions as a network client asks for them. A client's action that comes
// while the line works claims the line as the mouse's held input does: a poll still waiting
// for an absent unit gives the line up at once, so the action goes out without waiting out
// the tick. The claim ends once the work queued until then has run.
class RemoteActions : public QObject, public ControlActions {
    Q_OBJECT

  public:
    explicit RemoteActions(ControlActions& panel) : m_panel(panel) {}

    ActionOutcome TurnKnob(int knob, int delta, const ActionOrigin& origin) override;
    ActionOutcome PressMenuButton(int button, const ActionOrigin& origin) override;
    ActionOutcome PressFunctionButton(int button, const ActionOrigin& origin) override;
    ActionOutcome PressToggle(const std::string& label, const ActionOrigin& origin) override;
    ActionOutcome SelectUnit(int unit, const ActionOrigin& origin) override;
    ActionOutcome RecallMemory(int memory, const ActionOrigin& origin) override;
    ActionOutcome StoreMemory(int memory, const ActionOrigin& origin) override;
    ActionOutcome SetParameter(int number, int value, const ActionOrigin& origin) override;

  private:
    // Claims the line for a taken action asked inside a wait.
    ActionOutcome Claimed(ActionOutcome outcome);

    ControlActions& m_panel;
    bool m_claimed = false;
};
