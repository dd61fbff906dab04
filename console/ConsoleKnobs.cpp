// Which record each knob display shows in the menu on show, and what a double-click on a
// display sends.
#include "console/PanelConsole.h"
#include "console/PanelDialogKinds.h"
#include "console/PanelMenus.h"
#include "console/PanelView.h"
#include "link/ParameterCommands.h"
#include "link/UnitCommands.h"

namespace {

constexpr int kKeyframeDisplays = 4;  // displays 0..3 of the keyframe menu show unit parameters
constexpr int kLocalEditMenu = 15;    // models 5, 7, 9 step these knobs on the panel
constexpr uint16_t kDefaultValueRequest = 0x7FFF;

ParamRecord* TableRecord(int number) {
    if (number < 0 || number >= kParamCount) {
        number = kEmptyKnobParam;
    }
    return &g_paramTable[number];
}

}  // namespace

ParamRecord* PanelConsole::BoundRecord(int display) const {
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

// Sends `value` for the unit parameter display `display` shows, and redraws it. The keyframe
// menu's own records live on the panel alone.
void PanelConsole::SendDisplayValue(int display, uint16_t value) {
    ParamRecord* record = BoundRecord(display);
    if (record == nullptr || record->name.empty() || !IsUnitParameter(*record)) {
        return;
    }
    static_cast<void>(SetParameterWord(static_cast<uint8_t>(record->number & 0xFF), value));
    m_view.RedrawKnobDisplay(display);
}

void PanelConsole::OnKnobDisplayDoubleClick(int display) {
    if (SelectedModel() == 0 || display < 0 || display >= kKnobCount) {
        return;
    }
    const ParamRecord* shown = BoundRecord(display);
    const bool active = shown != nullptr && !shown->name.empty();
    if (AttributeLatchSet()) {
        if (active && IsUnitParameter(*shown)) {
            OpenPanelDialog(kAttributeDialog, shown->number);
        }
        ClearAttributeLatch();
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
        if (active) {
            SendDisplayValue(display, static_cast<uint16_t>(shown->value));
        }
        ShowMessage(g_idleText);
    }
    CheckUnitStatus();
}
