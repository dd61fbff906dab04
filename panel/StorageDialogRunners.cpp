// The dialogs of what a unit stores, opened by kind: files, custom menus and effects.
#include <QTimer>

#include "dialogs/CCustomDialog.h"
#include "dialogs/CEffectDialog.h"
#include "dialogs/CFilesDialog.h"
#include "model/PanelModel.h"
#include "panel/CTavrinoxDlg.h"
#include "panel/DialogRunners.h"

namespace {

// Runs `dialog` modally; its opening work (which talks to the unit and shows progress) runs
// once the dialog is on the screen.
template <typename Dialog>
int RunModal(Dialog& dialog) {
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.OnInitDialog(); });
    return dialog.exec();
}

PanelDialogResult RunFiles(int argument) {
    CFilesDialog dialog(FilesDialogSetupFrom(argument), g_mainPanel);
    PanelDialogResult result;
    result.accepted = RunModal(dialog) == QDialog::Accepted;
    result.modified = dialog.FilesChanged();
    return result;
}

PanelDialogResult RunCustomMenu(int customMenu) {
    if (customMenu < 0 || customMenu >= kCustomMenuCount ||
        UnitOfAddress(g_currentUnitAddress) == 0) {
        return {};
    }
    CCustomDialog dialog(customMenu, g_mainPanel);
    PanelDialogResult result;
    result.accepted = RunModal(dialog) == QDialog::Accepted;
    return result;
}

PanelDialogResult RunEffects(int) {
    CEffectDialog dialog(std::make_unique<OnScreenKeyboard>(), g_mainPanel);
    PanelDialogResult result;
    result.accepted = RunModal(dialog) == QDialog::Accepted;
    return result;
}

}  // namespace

// Installs the runners; the panel calls this once before it opens any dialog.
void RegisterStorageDialogs() {
    CTavrinoxDlg::RegisterDialog(kFilesDialog, RunFiles);
    CTavrinoxDlg::RegisterDialog(kCustomMenuDialog, RunCustomMenu);
    CTavrinoxDlg::RegisterDialog(kEffectDialog, RunEffects);
}
