// The service dialogs the panel opens by kind: port setup, About, bypass, GPI sequences,
// on-air lock-out and control attributes, input, output and monitor routing.
#include "dialogs/CAttributeDialog.h"
#include "dialogs/CBypassDialog.h"
#include "dialogs/CGPIDialog.h"
#include "dialogs/CGPIDialogNew.h"
#include "dialogs/CInputDialog.h"
#include "dialogs/CMonitorDialog.h"
#include "dialogs/CMyAbout.h"
#include "dialogs/COnAirDialog.h"
#include "dialogs/COutputDialog.h"
#include "dialogs/CSetupDialog.h"
#include "model/PanelModel.h"
#include "panel/CTavrinoxDlg.h"
#include "panel/DialogRunners.h"

namespace {

// Runs `dialog` modally over the panel; the result says whether it closed with OK.
PanelDialogResult Exec(QDialog& dialog) {
    PanelDialogResult result;
    result.accepted = dialog.exec() == QDialog::Accepted;
    return result;
}

// A dialog that needs nothing but its parent.
template <typename Dialog>
PanelDialogResult RunPlain(int) {
    Dialog dialog(g_mainPanel);
    return Exec(dialog);
}

PanelDialogResult RunPortSetup(int portNumber) {
    CSetupDialog dialog(g_mainPanel);
    dialog.SetPortNumber(portNumber);
    PanelDialogResult result = Exec(dialog);
    result.chosenNumber = result.accepted ? dialog.PortNumber() : portNumber;
    return result;
}

// The argument is the lock-out enable function; the panel reads the modified flag whatever
// closed the dialog.
PanelDialogResult RunLockout(int enableFunction) {
    COnAirDialog dialog(enableFunction, g_mainPanel);
    PanelDialogResult result = Exec(dialog);
    result.modified = dialog.Modified();
    return result;
}

PanelDialogResult RunAttributes(int controlNumber) {
    CAttributeDialog dialog(controlNumber, g_mainPanel);
    return Exec(dialog);
}

// The routing dialogs send nothing themselves; on OK the panel sends their values.
template <typename Dialog>
PanelDialogResult RunRouting(int) {
    Dialog dialog(g_mainPanel);
    PanelDialogResult result = Exec(dialog);
    if (result.accepted) {
        result.valuesToSend = dialog.Values();
    }
    return result;
}

// The compact family keeps its GPI sequences without per-sequence settings.
PanelDialogResult RunGpi(int argument) {
    return IsCompactModel(g_unitStatus[kStatusByteModel]) ? RunPlain<CGPIDialog>(argument)
                                                          : RunPlain<CGPIDialogNew>(argument);
}

}  // namespace

// Installs the runners; the panel calls this once before it opens any dialog.
void RegisterServiceDialogs() {
    CTavrinoxDlg::RegisterDialog(kPortSetupDialog, RunPortSetup);
    // "Update" (OK) asks the panel to end the program.
    CTavrinoxDlg::RegisterDialog(kAboutDialog, RunPlain<CMyAbout>);
    CTavrinoxDlg::RegisterDialog(kLockoutDialog, RunLockout);
    CTavrinoxDlg::RegisterDialog(kAttributeDialog, RunAttributes);
    CTavrinoxDlg::RegisterDialog(kInputRoutingDialog, RunRouting<CInputDialog>);
    CTavrinoxDlg::RegisterDialog(kOutputRoutingDialog, RunRouting<COutputDialog>);
    CTavrinoxDlg::RegisterDialog(kMonitorDialog, RunPlain<CMonitorDialog>);
    CTavrinoxDlg::RegisterDialog(kGpiDialog, RunGpi);
    CTavrinoxDlg::RegisterDialog(kBypassDialog, RunPlain<CBypassDialog>);
}
