// What the controller decided, on the panel: the menu's title and buttons, the information line.
#include "controls/CImageTextButton.h"
#include "controls/CInfoBar.h"
#include "controls/CLabel.h"
#include "panel/CTavrinoxDlg.h"

namespace {

// A button whose face changed is drawn at once: the exchange that may follow holds the
// window's event loop back from painting it.
void ShowButton(CImageTextButton* control, const ButtonState& face, bool always) {
    if (control == nullptr) {
        return;
    }
    const int index = face.lit ? 1 : 0;
    if (!always && face.label == control->Caption() && index == control->ImageIndex()) {
        return;
    }
    control->SetCaption(face.label);
    control->SetImageIndex(index);
    control->show();
    control->repaint();
}

}  // namespace

void CTavrinoxDlg::ShowMenuFace(const MenuFace& face) {
    if (m_titleLabel != nullptr && m_titleLabel->Text() != face.title) {
        m_titleLabel->SetCaption(face.title);
    }
    for (int button = 0; button < kMenuButtons; ++button) {
        ShowButton(m_menuButton[button], face.menuButtons[button], false);
    }
    // Before the window is first shown every button is set, so it shows at once.
    for (int button = 0; button < kFunctionButtonCount; ++button) {
        ShowButton(m_functionButton[button], face.functionButtons[button], !isVisible());
    }
}

void CTavrinoxDlg::ShowInfoLine(const std::string& message, const std::string& alert) {
    if (m_infoBar == nullptr) {
        return;
    }
    // The line holds a message or an alert above it, never both.
    if (!alert.empty()) {
        m_infoBar->SetAlert(alert);
    } else if (!message.empty()) {
        m_infoBar->SetMessage(message);
    } else {
        m_infoBar->SetAlert(g_idleText);
        m_infoBar->SetMessage(g_idleText);
    }
    // What the line draws beside the text (the menu's readouts) may have changed too.
    m_infoBar->update();
}
