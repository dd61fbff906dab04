// The panel's modal dialogs: the registry of their runners and running one for the
// controller.
#include <string>

#include "actions/OriginScope.h"
#include "panel/CTavrinoxDlg.h"

namespace {

std::string NotAvailableText(int kind) {
    return std::string("The ") + DialogName(kind) +
           " dialog is not available in this build of the panel.";
}

}  // namespace

std::map<int, PanelDialogRunner>& CTavrinoxDlg::DialogRunners() {
    static std::map<int, PanelDialogRunner> runners;
    return runners;
}

void CTavrinoxDlg::RegisterDialog(int kind, PanelDialogRunner runner) {
    DialogRunners()[kind] = std::move(runner);
}

void CTavrinoxDlg::UnregisterDialog(int kind) {
    DialogRunners().erase(kind);
}

// Without a runner for `kind` the user is told, and nothing returns.
std::optional<PanelDialogResult> CTavrinoxDlg::RunDialog(int kind, int argument) {
    const auto found = DialogRunners().find(kind);
    if (found == DialogRunners().end() || !found->second) {
        ShowMessageBox(NotAvailableText(kind));
        return std::nullopt;
    }
    // What the user does in a dialog is the user's, whoever asked for the dialog.
    const OriginScope user(OriginScope::WindowOrigin());
    return found->second(argument);
}
