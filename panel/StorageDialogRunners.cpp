// The dialogs of what a unit stores, opened by kind: files, custom menus and effects.
#include <QTimer>

#include "dialogs/CCustomDialog.h"
#include "dialogs/CEffectDialog.h"
#include "dialogs/CFilesDialog.h"
#include "model/PanelModel.h"
#include "panel/CTavrinoxDlg.h"

namespace {

constexpr int kUnits = 4;

// The units a file may be copied to: on line with the selected unit's model, not the
// selected unit itself. Used when the opener passed only the directory.
std::array<bool, kUnits> SameModelUnits() {
    std::array<bool, kUnits> same{};
    const uint8_t model = g_unitStatus[kStatusByteModel];
    const int selected = UnitOfAddress(g_currentUnitAddress);
    if (g_mainPanel == nullptr || model == 0) {
        return same;
    }
    for (int unit = 1; unit <= kUnits; ++unit) {
        same[static_cast<size_t>(unit - 1)] =
            unit != selected &&
            g_mainPanel->PollHandler().StatusOf(unit)[kStatusByteModel] == model;
    }
    return same;
}

// Runs `dialog` modally; its opening work (which talks to the unit and shows progress) runs
// once the dialog is on the screen.
template <typename Dialog>
int RunModal(Dialog& dialog) {
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.OnInitDialog(); });
    return dialog.exec();
}

PanelDialogResult RunFiles(int argument) {
    FilesDialogSetup setup = FilesDialogSetupFrom(argument);
    if (FilesDialogArgument(setup) == (argument & 1)) {
        setup.transferEnabled = SameModelUnits();
    }
    CFilesDialog dialog(setup, g_mainPanel);
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
