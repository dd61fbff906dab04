// The file-system update that follows a change of the files stored on the units.
#include "controls/CInfoBar.h"
#include "controls/CSettingsBar.h"
#include "link/FileCommands.h"
#include "link/ParameterCommands.h"
#include "panel/CTavrinoxDlg.h"

void CTavrinoxDlg::RunFileSystemUpdate() {
    // The place of the closed dialog is painted before the update's message shows.
    repaint();
    OnUpdateFileSystem();
}

void CTavrinoxDlg::OnUpdateFileSystem() {
    m_console->ShowMessage("Please wait while the File System is being updated!");
    bool complete = true;
    for (int unit = 1; unit <= kUnitIcons; ++unit) {
        if (UpdateFileSystem(AddressOfUnit(unit)) != Status::Ok) {
            complete = false;
        }
    }
    if (!complete) {
        ShowMessageBox("File System Update did not complete!  Please try again.");
    }
    m_console->ShowMessage(g_idleText);
    static_cast<void>(ReadReferenceValues());
    static_cast<void>(ReadParameterValues());
    m_console->UpdateLamps(true);
    m_console->RefreshSettings();
}
