// The hard keys and lamps on the panel, as the controller sets them, and the port setup key.
#include <QLabel>

#include "console/HardKeys.h"
#include "console/PanelActions.h"
#include "console/PanelLamps.h"
#include "controls/CImageToggleButton.h"
#include "controls/CSettingsBar.h"
#include "panel/CTavrinoxDlg.h"

void CTavrinoxDlg::ShowLamps() {
    for (int i = 0; i < kFunctionIcons; ++i) {
        if (m_functionIcon[i] != nullptr) {
            m_functionIcon[i]->setVisible(FunctionValue(kIconFunctions[i]) != 0);
        }
    }
    for (int key = 0; key < kToggles; ++key) {
        if (m_toggle[key] != nullptr && HardKeys()[key].kind != ToggleKind::Setup) {
            m_toggle[key]->SetOn(m_console->LampLit(key));
        }
    }
    m_actions->StateMayHaveChanged();
}

// Drawn at once: the work that follows may hold the event loop back from painting.
void CTavrinoxDlg::ShowHardKey(int key, bool lit) {
    if (key < 0 || key >= kToggles || m_toggle[key] == nullptr) {
        return;
    }
    m_toggle[key]->SetOn(lit);
    m_toggle[key]->repaint();
}

// The setup key is lit by its own press while its dialog is open, not by a lamp bit.
bool CTavrinoxDlg::HardKeyLit(int key) const {
    if (key < 0 || key >= kToggles || m_toggle[key] == nullptr) {
        return false;
    }
    return HardKeys()[key].kind == ToggleKind::Setup ? m_toggle[key]->IsOn()
                                                     : m_console->LampLit(key);
}

void CTavrinoxDlg::ShowSettings(const std::string& text) {
    m_settingsBar->SetSettingsText(text);
}

std::optional<int> CTavrinoxDlg::RunPortSetup(int portNumber) {
    const std::optional<PanelDialogResult> result = RunDialog(kPortSetupDialog, portNumber);
    if (!result || !result->accepted) {
        return std::nullopt;
    }
    return result->chosenNumber;
}
