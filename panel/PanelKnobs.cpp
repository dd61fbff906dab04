// The knob displays bound to the records the controller says they show, and the knobs'
// turns handed to the named actions.
#include "console/PanelActions.h"
#include "controls/CCanvasCtrl.h"
#include "panel/CTavrinoxDlg.h"

void CTavrinoxDlg::BindKnobs() {
    for (int display = 0; display < kKnobCount; ++display) {
        if (m_knobDisplay[display] != nullptr) {
            m_knobDisplay[display]->Bind(m_console->BoundRecord(display));
        }
    }
    m_actions->StateMayHaveChanged();
}

void CTavrinoxDlg::ShowKnobDisplay(int display, ParamRecord* record) {
    if (display >= 0 && display < kKnobCount && m_knobDisplay[display] != nullptr) {
        m_knobDisplay[display]->Bind(record);
    }
}

void CTavrinoxDlg::RedrawKnobDisplay(int display) {
    if (display >= 0 && display < kKnobCount && m_knobDisplay[display] != nullptr) {
        m_knobDisplay[display]->Redraw();
    }
}

void CTavrinoxDlg::KnobTick(int knob, int deflection) {
    static_cast<void>(m_actions->DragKnob(knob, deflection, {ActionSource::Mouse, {}}));
}

void CTavrinoxDlg::KnobKeyTurn(int knob, int amount) {
    static_cast<void>(m_actions->TurnKnob(knob, amount, {ActionSource::Keyboard, {}}));
}
