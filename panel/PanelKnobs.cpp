// Knob binding: which parameter each knob display shows in the current menu, and what a
// double-click on a display sends.
#include "console/PanelActions.h"
#include "console/PanelMenus.h"
#include "controls/CCanvasCtrl.h"
#include "controls/CInfoBar.h"
#include "link/ParameterCommands.h"
#include "link/StorageTables.h"
#include "link/UnitCommands.h"
#include "panel/CTavrinoxDlg.h"

namespace {

constexpr int kFrameTimeDisplay = 4;
constexpr int kKeyframeDisplays = 4;  // displays 0..3 of the keyframe menu show unit parameters
constexpr int kLocalEditMenu = 15;    // models 5, 7, 9 step these knobs on the panel
constexpr uint16_t kDefaultValueRequest = 0x7FFF;

ParamRecord* TableRecord(int number) {
    if (number < 0 || number >= kParamCount) {
        number = kEmptyKnobParam;
    }
    return &g_paramTable[number];
}

// A knob parameter of the unit's table, as opposed to the keyframe menu's own records.
bool IsUnitParameter(const ParamRecord* record) {
    return record != nullptr && record->number >= 0 && record->number < kEmptyKnobParam &&
           record == &g_paramTable[record->number];
}

}  // namespace

ParamRecord* CTavrinoxDlg::BoundRecord(int display) const {
    const int menu = g_panelModel.m_currentMenu[SelectedUnit()];
    if (IsUnitMenu(menu)) {
        return TableRecord(g_menuTable[menu].knobParam[display]);
    }
    if (IsCustomMenu(menu)) {
        return TableRecord(g_customKnobMap[SelectedUnit()][menu - kCustomMenuList][display]);
    }
    if (menu != kKeyframeMenu) {
        return nullptr;
    }
    if (display < kKeyframeDisplays) {
        return TableRecord(g_keyframeKnobMap[display]);
    }
    ParamRecord* const own[] = {&g_panelModel.m_frameTimeParam, &g_panelModel.m_taperInParam,
                                &g_panelModel.m_taperOutParam, &g_panelModel.m_keyframeParam};
    return own[display - kKeyframeDisplays];
}

void CTavrinoxDlg::BindKnobs() {
    const int menu = CurrentMenu();
    if (menu < 0 || menu > kLastCustomMenu) {
        return;
    }
    for (int display = 0; display < kKnobCount; ++display) {
        if (m_knobDisplay[display] != nullptr) {
            m_knobDisplay[display]->Bind(BoundRecord(display));
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

// Sends `value` for the parameter of an active display and redraws it. The keyframe menu's
// own records live on the panel alone.
void CTavrinoxDlg::SendDisplayValue(int display, uint16_t value) {
    CCanvasCtrl* control = m_knobDisplay[display];
    ParamRecord* record = control->Param();
    if (!control->IsActive() || !IsUnitParameter(record)) {
        return;
    }
    static_cast<void>(SetParameterWord(static_cast<uint8_t>(record->number & 0xFF), value));
    control->Redraw();
}

void CTavrinoxDlg::OnKnobDisplayDoubleClick(int display) {
    if (SelectedModel() == 0 || display < 0 || display >= kKnobCount ||
        m_knobDisplay[display] == nullptr) {
        return;
    }
    CCanvasCtrl* control = m_knobDisplay[display];
    if (m_console->AttributeLatchSet()) {
        if (control->IsActive() && IsUnitParameter(control->Param())) {
            OpenPanelDialog(kAttributeDialog, control->Param()->number);
        }
        m_console->ClearAttributeLatch();
        return;
    }
    UnitStatus status{};
    static_cast<void>(IdentifyUnit(g_currentUnitAddress, status));
    const uint8_t model = status[kStatusByteModel];
    if (CurrentMenu() != kLocalEditMenu || model == 4) {
        SendDisplayValue(display, kDefaultValueRequest);
        BindKnobs();
    } else {
        // The value stepped on the panel goes to the unit now.
        if (const ParamRecord* record = control->Param()) {
            SendDisplayValue(display, static_cast<uint16_t>(record->value));
        }
        m_console->ShowMessage(g_idleText);
    }
    m_console->CheckUnitStatus();
}
