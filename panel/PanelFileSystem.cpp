// The file-system update that follows a change of the files stored on the units.
#include "controls/CInfoBar.h"
#include "controls/CSettingsBar.h"
#include "link/FileCommands.h"
#include "link/ParameterCommands.h"
#include "panel/CTavrinoxDlg.h"

namespace {

constexpr uint8_t kUnitAddresses[] = {0x10, 0x20, 0x30, 0x40};

}  // namespace

void CTavrinoxDlg::RunFileSystemUpdate() {
    // The screen is whole again before the long exchange holds the window.
    repaint();
    OnUpdateFileSystem();
}

void CTavrinoxDlg::OnUpdateFileSystem() {
    m_infoBar->SetMessage("Please wait while the File System is being updated!");
    bool complete = true;
    for (const uint8_t address : kUnitAddresses) {
        if (UpdateFileSystem(address) != Status::Ok) {
            complete = false;
        }
    }
    if (!complete) {
        ShowMessageBox("File System Update did not complete!  Please try again.");
    }
    m_infoBar->SetMessage(g_idleText);
    static_cast<void>(ReadReferenceValues());
    static_cast<void>(ReadParameterValues());
    UpdateLamps(true);
    m_settingsBar->RefreshSettings();
}
