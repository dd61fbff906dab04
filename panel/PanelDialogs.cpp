// The panel's modal dialogs: the registry of their runners, opening one with the polls
// stopped, and what the panel brings up to date after each.
#include <string>

#include "actions/OriginScope.h"
#include "controls/CSettingsBar.h"
#include "link/LineWork.h"
#include "link/ParameterCommands.h"
#include "panel/CTavrinoxDlg.h"
#include "unit/OnAirLockout.h"

namespace {

const char* const kNoReferenceVideoText =
    "No Reference Video!\n\nFile System not accessible.                  \n";

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

// The dialog from its opening to its closing and the panel's work after it are one piece
// of work: a unit that stops answering in it is not waited for again until it is over.
void CTavrinoxDlg::OpenPanelDialog(int kind, int argument) {
    m_console->StopPolling();
    if (kind != kPortSetupDialog && DialogName(kind) != nullptr) {
        const LineWork work(std::string("the ") + DialogName(kind) + " dialog");
        RunDialogKind(kind, argument);
    }
    m_console->ResumePolling();
}

bool CTavrinoxDlg::ReferenceVideoPresent() const {
    return g_panelModel.m_referencePresent;
}

// The dialogs that work on the unit's file system need its reference video.
bool CTavrinoxDlg::RefuseWithoutReference(int kind) {
    const bool needsReference =
        kind == kLockoutDialog ||
        ((kind == kFilesDialog || kind == kGpiDialog) && !IsCompactModel(SelectedModel()));
    if (!needsReference || ReferenceVideoPresent()) {
        return false;
    }
    ShowMessageBox(kNoReferenceVideoText);
    return true;
}

void CTavrinoxDlg::RunDialogKind(int kind, int argument) {
    if (RefuseWithoutReference(kind)) {
        return;
    }
    if (const std::optional<PanelDialogResult> result = RunRegisteredDialog(kind, argument)) {
        RunAfterWork(kind, *result);
    }
}

std::optional<PanelDialogResult> CTavrinoxDlg::RunRegisteredDialog(int kind, int argument) {
    const auto found = DialogRunners().find(kind);
    if (found == DialogRunners().end() || !found->second) {
        ShowMessageBox(NotAvailableText(kind));
        return std::nullopt;
    }
    // What the user does in a dialog is the user's, whoever asked for the dialog.
    const OriginScope user(OriginScope::WindowOrigin());
    return found->second(argument);
}

// After a dialog that may have changed the unit's stored setup: values, lamps and settings
// read afresh.
void CTavrinoxDlg::ReloadValues() {
    static_cast<void>(ReadReferenceValues());
    static_cast<void>(ReadParameterValues());
    m_console->UpdateLamps(true);
    m_console->RefreshSettings();
}

void CTavrinoxDlg::RunAfterWork(int kind, const PanelDialogResult& result) {
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
            m_console->ShowFunctionLabels();
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
            m_console->ShowFunctionLabels();
            break;
        default:
            break;
    }
}
