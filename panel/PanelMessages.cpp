// The panel's own message boxes. No poll may run while the user reads one, so the poll and
// prompt timers stop for as long as the box is up.
#include "panel/CTavrinoxDlg.h"
#include "platform/Prompter.h"

namespace {

const char* const kBoxCaption = "Virtual Control Panel";
constexpr int kAnswerOk = 1;
constexpr int kAnswerCancel = 2;

}  // namespace

void CTavrinoxDlg::ShowMessageBox(const std::string& text) {
    m_console->StopPolling();
    CurrentPrompter().Show(text, kBoxCaption, PromptIcon::Stop, PromptButtons::Ok);
    m_console->ResumePolling();
}

int CTavrinoxDlg::AskOkCancel(const std::string& text) {
    m_console->StopPolling();
    const PromptAnswer answer =
        CurrentPrompter().Show(text, kBoxCaption, PromptIcon::Question, PromptButtons::OkCancel);
    m_console->ResumePolling();
    return answer == PromptAnswer::Ok ? kAnswerOk : kAnswerCancel;
}
