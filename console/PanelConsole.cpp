#include "console/PanelConsole.h"

#include "console/HardKeys.h"
#include "console/PanelDialogKinds.h"
#include "console/PanelView.h"

PanelConsole::PanelConsole(PanelView& view) : m_view(view) {}

int PanelConsole::SelectedUnit() const {
    return UnitOfAddress(g_currentUnitAddress);
}

void PanelConsole::ShowFace() {
    m_view.ShowMenuFace(m_face);
}

// A message takes the alert's place, and an alert the message's, as the line shows them.
void PanelConsole::ShowMessage(const std::string& text) {
    if (text == m_message) {
        return;
    }
    m_message = text;
    m_alert.clear();
    ShowLine();
}

void PanelConsole::ShowAlert(const std::string& text) {
    if (text == m_alert) {
        return;
    }
    m_alert = text;
    m_message.clear();
    ShowLine();
}

void PanelConsole::ShowStanding(const std::string& text) {
    if (text == m_standing) {
        return;
    }
    m_standing = text;
    if (!text.empty()) {
        m_message.clear();
        m_alert.clear();
    }
    ShowLine();
}

const std::string& PanelConsole::ShownMessage() const {
    return m_message.empty() && m_alert.empty() ? m_standing : m_message;
}

void PanelConsole::ShowLine() {
    m_view.ShowInfoLine(ShownMessage(), m_alert);
}

int PanelConsole::FilesDialogArgument(int which) const {
    int argument = which;
    const uint8_t model = SelectedModel();
    for (int unit = 1; unit < kUnitSlots; ++unit) {
        if (unit != SelectedUnit() && model != 0 &&
            m_pollHandler.StatusOf(unit)[kStatusByteModel] == model) {
            argument |= FilesSameModelBit(unit);
        }
    }
    return argument;
}

void PanelConsole::FillShownState(PanelState& state) const {
    state.menuTitle = m_face.title;
    state.infoLine = m_alert.empty() ? ShownMessage() : m_alert;
    state.menuButtons = m_face.menuButtons;
    state.functionButtons = m_face.functionButtons;
    for (int key = 0; key < kStateToggles; ++key) {
        state.toggles[key] = {HardKeys()[key].label, m_view.HardKeyLit(key)};
    }
}
