// The service dialogs the panel opens by kind: port setup, About, bypass, GPI sequences,
// on-air lock-out and control attributes, input, output and monitor routing.
#include "dialogs/CAttributeDialog.h"
#include "dialogs/CMyAbout.h"
#include "dialogs/COnAirDialog.h"
#include "dialogs/CSetupDialog.h"
#include "panel/CTavrinoxDlg.h"

namespace {

PanelDialogResult RunPortSetup(int portNumber) {
    CSetupDialog dialog(g_mainPanel);
    dialog.SetPortNumber(portNumber);
    PanelDialogResult result;
    result.accepted = dialog.exec() == QDialog::Accepted;
    result.chosenNumber = result.accepted ? dialog.PortNumber() : portNumber;
    return result;
}

// "Update" (OK) asks the panel to end the program.
PanelDialogResult RunAbout(int) {
    CMyAbout dialog(g_mainPanel);
    PanelDialogResult result;
    result.accepted = dialog.exec() == QDialog::Accepted;
    return result;
}

// The argument is the lock-out enable function; the panel reads the modified flag whatever
// closed the dialog.
PanelDialogResult RunLockout(int enableFunction) {
    COnAirDialog dialog(enableFunction, g_mainPanel);
    PanelDialogResult result;
    result.accepted = dialog.exec() == QDialog::Accepted;
    result.modified = dialog.Modified();
    return result;
}

PanelDialogResult RunAttributes(int controlNumber) {
    CAttributeDialog dialog(controlNumber, g_mainPanel);
    PanelDialogResult result;
    result.accepted = dialog.exec() == QDialog::Accepted;
    return result;
}

}  // namespace

// Installs the runners; the panel calls this once before it opens any dialog.
void RegisterServiceDialogs() {
    CTavrinoxDlg::RegisterDialog(kPortSetupDialog, RunPortSetup);
    CTavrinoxDlg::RegisterDialog(kAboutDialog, RunAbout);
    CTavrinoxDlg::RegisterDialog(kLockoutDialog, RunLockout);
    CTavrinoxDlg::RegisterDialog(kAttributeDialog, RunAttributes);
}
