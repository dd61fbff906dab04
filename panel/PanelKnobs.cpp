// The knob displays bound to the records the controller says they show, and the knobs'
// turns handed to the named actions.
#include "console/PanelActions.h"
#include "console/PanelMenus.h"
#include "controls/CCanvasCtrl.h"
#include "controls/CInfoBar.h"
#include "link/StorageTables.h"
#include "panel/CTavrinoxDlg.h"

void CTavrinoxDlg::BindKnobs() {
    const int menu = CurrentMenu();
    if (menu < 0 || menu > kLastCustomMenu) {
        return;
    }
    for (int display = 0; display < kKnobCount; ++display) {
        if (m_knobDisplay[display] != nullptr) {
            m_knobDisplay[display]->Bind(m_console->BoundRecord(display));
        }
    }
    m_actions->StateMayHaveChanged();
    if (menu != kKeyframeMenu) {
        return;
    }
    // The KeyFrame knob picks the current keyframe; the frame time follows it.
    EffectRecord* effect = EffectAt(g_currentEffect);
    if (effect == nullptr || g_panelModel.m_keyframeParam.value == effect->currentKeyframe) {
        return;
    }
    effect->currentKeyframe = g_panelModel.m_keyframeParam.value;
    m_infoBar->update();
    ShowCurrentFrameTime(*effect);
}

void CTavrinoxDlg::RedrawKnobDisplay(int display) {
    m_knobDisplay[display]->Redraw();
}

void CTavrinoxDlg::KnobTick(int knob, int deflection) {
    static_cast<void>(m_actions->DragKnob(knob, deflection, {ActionSource::Mouse, {}}));
}

void CTavrinoxDlg::KnobKeyTurn(int knob, int amount) {
    static_cast<void>(m_actions->TurnKnob(knob, amount, {ActionSource::Keyboard, {}}));
}
