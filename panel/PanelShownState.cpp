// What the window shows that the panel's actions hand to every source with their own state:
// the title, the information line, the buttons' captions and lamps, the hard keys' lamps.
#include "console/HardKeys.h"
#include "controls/CImageTextButton.h"
#include "controls/CImageToggleButton.h"
#include "controls/CInfoBar.h"
#include "controls/CLabel.h"
#include "panel/CTavrinoxDlg.h"

namespace {

ButtonState ButtonStateOf(const CImageTextButton* button) {
    if (button == nullptr || !button->isVisible()) {
        return {};
    }
    return {button->Caption(), button->ImageIndex() != 0};
}

}  // namespace

void CTavrinoxDlg::FillShownState(PanelState& state) const {
    if (m_titleLabel != nullptr) {
        state.menuTitle = m_titleLabel->Text();
    }
    if (m_infoBar != nullptr) {
        state.infoLine = m_infoBar->Alert().empty() ? m_infoBar->Message() : m_infoBar->Alert();
    }
    for (int button = 0; button < kActionMenuButtons; ++button) {
        state.menuButtons[button] = ButtonStateOf(m_menuButton[button]);
    }
    for (int button = 0; button < kActionFunctionButtons; ++button) {
        state.functionButtons[button] = ButtonStateOf(m_functionButton[button]);
    }
    for (int key = 0; key < kStateToggles; ++key) {
        if (m_toggle[key] != nullptr) {
            state.toggles[key] = {HardKeys()[key].label, m_toggle[key]->IsOn()};
        }
    }
}
