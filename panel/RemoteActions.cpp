#include "panel/RemoteActions.h"

#include "link/LineDemand.h"
#include "platform/WindowWait.h"

ActionOutcome RemoteActions::Claimed(ActionOutcome outcome) {
    if (!outcome.taken || WindowWait::Depth() == 0 || m_claimed) {
        return outcome;
    }
    m_claimed = true;
    LineDemand::Raise();
    // Queued after the action's own work, so the claim lasts until that work has run.
    WindowWait::WhenIdle(this, [this] {
        m_claimed = false;
        LineDemand::Clear();
    });
    return outcome;
}

ActionOutcome RemoteActions::TurnKnob(int knob, int delta, const ActionOrigin& origin) {
    return Claimed(m_panel.TurnKnob(knob, delta, origin));
}

ActionOutcome RemoteActions::PressMenuButton(int button, const ActionOrigin& origin) {
    return Claimed(m_panel.PressMenuButton(button, origin));
}

ActionOutcome RemoteActions::PressFunctionButton(int button, const ActionOrigin& origin) {
    return Claimed(m_panel.PressFunctionButton(button, origin));
}

ActionOutcome RemoteActions::PressToggle(const std::string& label, const ActionOrigin& origin) {
    return Claimed(m_panel.PressToggle(label, origin));
}

ActionOutcome RemoteActions::SelectUnit(int unit, const ActionOrigin& origin) {
    return Claimed(m_panel.SelectUnit(unit, origin));
}

ActionOutcome RemoteActions::RecallMemory(int memory, const ActionOrigin& origin) {
    return Claimed(m_panel.RecallMemory(memory, origin));
}

ActionOutcome RemoteActions::StoreMemory(int memory, const ActionOrigin& origin) {
    return Claimed(m_panel.StoreMemory(memory, origin));
}

ActionOutcome RemoteActions::SetParameter(int number, int value, const ActionOrigin& origin) {
    return Claimed(m_panel.SetParameter(number, value, origin));
}
