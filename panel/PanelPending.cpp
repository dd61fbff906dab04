// TEMPORARY: stand-ins for the navigation, knob, toggle, dialog and keyframe concerns, which
// are written on another branch. Just enough for this branch's tests and screenshots; this
// file goes when the branches are merged.
#include "controls/CCanvasCtrl.h"
#include "controls/CImageTextButton.h"
#include "controls/CImageToggleButton.h"
#include "controls/CLabel.h"
#include "controls/InfoBarText.h"
#include "panel/CTavrinoxDlg.h"

namespace {
const MenuRecord* ShownMenu() {
    const int menu = g_panelModel.m_currentMenu[UnitOfAddress(g_currentUnitAddress)];
    return menu >= 0 && menu < kMenuCount - 1 ? &g_menuTable[menu] : nullptr;
}
}  // namespace

void CTavrinoxDlg::ShowMenuLabels() {
    const MenuRecord* menu = ShownMenu();
    m_titleLabel->SetCaption(menu ? menu->title : std::string());
    for (int i = 0; i < kMenuButtons; ++i) {
        const int target = menu ? menu->entry[i] : 255;
        const bool named = target > 0 && target < kMenuCount - 1;
        m_menuButton[i]->SetCaption(named ? g_menuTable[target].shortName : "     ");
    }
}
void CTavrinoxDlg::ShowFunctionLabels() {
    const MenuRecord* menu = ShownMenu();
    for (int i = 0; i < kFunctionButtonCount; ++i) {
        const int entry = menu ? menu->entry[g_panelModel.m_menuButtonCount + i] - 128 : 127;
        ShowFunctionLabel(i, entry);
    }
}
void CTavrinoxDlg::ShowFunctionLabel(int button, int offset) {
    const bool used = offset > 0 && offset < 127;
    const FunctionRecord& record = g_functionTable[used ? offset : 127];
    m_functionButton[button]->SetCaption(!used ? " "
                                         : record.optionCount > 1
                                             ? OptionLabel(record.label, record.value)
                                             : record.label);
}
void CTavrinoxDlg::BindKnobs() {
    const MenuRecord* menu = ShownMenu();
    for (int i = 0; i < kKnobCount; ++i) {
        const int number = menu ? menu->knobParam[i] : kEmptyKnobParam;
        m_knobDisplay[i]->Bind(&g_paramTable[number >= 0 && number < kParamCount ? number : 128]);
    }
}
void CTavrinoxDlg::UpdateLamps(bool) {
    for (int i = 0; i < 4; ++i) {
        m_toggle[i]->SetOn(SelectedUnit() == i + 1);
    }
}
void CTavrinoxDlg::OnMenuButton(int) {}
void CTavrinoxDlg::OnFunctionButton(int) {}
void CTavrinoxDlg::OpenPanelDialog(int, int) {}
void CTavrinoxDlg::OnKnobDisplayDoubleClick(int) {}
void CTavrinoxDlg::SelectView(int) {}
void CTavrinoxDlg::SelectShortcut(int) {}
void CTavrinoxDlg::RecallMemory(int) {}
void CTavrinoxDlg::ClearFiles() {}
std::optional<int> CTavrinoxDlg::RunPortSetup(int) {
    return std::nullopt;
}
void CTavrinoxDlg::LoadKeyframeState() {}
void CTavrinoxDlg::OnKeyframeButton(int) {}
int CTavrinoxDlg::CurrentKeyframe() const {
    return 0;
}
int CTavrinoxDlg::KeyframeCount() const {
    return 0;
}
bool CTavrinoxDlg::AttributeLatchSet() const {
    return g_panelModel.m_lampBits[0] & 0x10;
}
void CTavrinoxDlg::ClearAttributeLatch() {
    g_panelModel.m_lampBits[0] &= ~0x10;
}
void CTavrinoxDlg::RegisterDialog(int kind, PanelDialogRunner runner) {
    DialogRunners()[kind] = std::move(runner);
}
void CTavrinoxDlg::UnregisterDialog(int kind) {
    DialogRunners().erase(kind);
}
std::map<int, PanelDialogRunner>& CTavrinoxDlg::DialogRunners() {
    static std::map<int, PanelDialogRunner> runners;
    return runners;
}
