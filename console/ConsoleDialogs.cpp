// The panel's modal dialogs opened with the polls stopped, what the panel brings up to date
// after each, and the file-system update that follows a change of the units' files.
#include <string>

#include "console/PanelConsole.h"
#include "console/PanelDialogKinds.h"
#include "console/PanelView.h"
#include "link/FileCommands.h"
#include "link/LineWork.h"
#include "link/ParameterCommands.h"
#include "unit/OnAirLockout.h"

namespace {

const char* const kNoReferenceVideoText =
    "No Reference Video!\n\nFile System not accessible.                  \n";

}  // namespace

// What the user is told a dialog is, when this build has none for its kind.
const char* DialogName(int kind) {
    switch (kind) {
        case kFilesDialog:
            return "files";
        case kCustomMenuDialog:
            return "custom menu";
        case kAttributeDialog:
            return "control attributes";
        case kBypassDialog:
            return "bypass transfer";
        case kEffectDialog:
            return "effects";
        case kOutputRoutingDialog:
            return "output routing";
        case kGpiDialog:
            return "GPI";
        case kLockoutDialog:
            return "on-air lock-out";
        case kMonitorDialog:
            return "monitor";
        case kInputRoutingDialog:
            return "input routing";
        case kPortSetupDialog:
            return "COM port setup";
        default:
            return nullptr;
    }
}

// The dialog from its opening to its closing and the panel's work after it are one piece
// of work: a unit that stops answering in it is not waited for again until it is over.
void PanelConsole::OpenPanelDialog(int kind, int argument) {
    StopPolling();
    if (kind != kPortSetupDialog && DialogName(kind) != nullptr) {
        const LineWork work(std::string("the ") + DialogName(kind) + " dialog");
        RunDialogKind(kind, argument);
    }
    ResumePolling();
}

// The dialogs that work on the unit's file system need its reference video.
bool PanelConsole::RefuseWithoutReference(int kind) {
    const bool needsReference =
        kind == kLockoutDialog ||
        ((kind == kFilesDialog || kind == kGpiDialog) && !IsCompactModel(SelectedModel()));
    if (!needsReference || g_panelModel.m_referencePresent) {
        return false;
    }
    m_view.ShowMessageBox(kNoReferenceVideoText);
    return true;
}

void PanelConsole::RunDialogKind(int kind, int argument) {
    if (RefuseWithoutReference(kind)) {
        return;
    }
    if (const std::optional<PanelDialogResult> result = m_view.RunDialog(kind, argument)) {
        RunAfterWork(kind, *result);
    }
}

// After a dialog that may have changed the unit's stored setup: values, lamps and settings
// read afresh.
void PanelConsole::ReloadValues() {
    static_cast<void>(ReadReferenceValues());
    static_cast<void>(ReadParameterValues());
    UpdateLamps(true);
    RefreshSettings();
}

void PanelConsole::RunAfterWork(int kind, const PanelDialogResult& result) {
    switch (kind) {
        case kFilesDialog:
        case kGpiDialog:
            // The full family keeps its files in a file system that must be rebuilt.
            if (IsCompactModel(SelectedModel())) {
                ReloadValues();
            } else {
                RunFileSystemUpdate();
            }
            break;
        case kCustomMenuDialog:
            ShowFunctionLabels();
            BindKnobs();
            break;
        case kEffectDialog:
            LoadKeyframeState();
            break;
        case kOutputRoutingDialog:
        case kInputRoutingDialog:
            if (result.accepted) {
                for (const auto& [number, value] : result.valuesToSend) {
                    static_cast<void>(SetParameterByte(number, value));
                }
            }
            break;
        case kLockoutDialog:
            static_cast<void>(ApplyOnAirLockout());
            if (result.modified) {
                RunFileSystemUpdate();
            }
            ShowFunctionLabels();
            break;
        default:
            break;
    }
}

void PanelConsole::RunFileSystemUpdate() {
    // The place of the closed dialog is painted before the update's message shows.
    m_view.RepaintNow();
    OnUpdateFileSystem();
}

void PanelConsole::OnUpdateFileSystem() {
    ShowMessage("Please wait while the File System is being updated!");
    bool complete = true;
    for (int unit = 1; unit <= kActionUnits; ++unit) {
        if (UpdateFileSystem(AddressOfUnit(unit)) != Status::Ok) {
            complete = false;
        }
    }
    if (!complete) {
        m_view.ShowMessageBox("File System Update did not complete!  Please try again.");
    }
    ShowMessage(g_idleText);
    static_cast<void>(ReadReferenceValues());
    static_cast<void>(ReadParameterValues());
    UpdateLamps(true);
    RefreshSettings();
}
