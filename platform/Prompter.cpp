#include "platform/Prompter.h"

#include <cstdio>

namespace {
ConsolePrompter g_consolePrompter;
Prompter* g_prompter = &g_consolePrompter;
}  // namespace

PromptAnswer ConsolePrompter::Show(const std::string& text, const std::string& caption,
                                   PromptIcon icon, PromptButtons buttons) {
    return ShowWithDetail(text, {}, caption, icon, buttons);
}

PromptAnswer ConsolePrompter::ShowWithDetail(const std::string& text, const std::string& detail,
                                             const std::string& caption, PromptIcon icon,
                                             PromptButtons buttons) {
    (void)icon;
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    if (!detail.empty()) {
        std::fprintf(stderr, "%s\n", detail.c_str());
    }
    switch (buttons) {
        case PromptButtons::YesNo:
            return PromptAnswer::Yes;
        case PromptButtons::Ok:
        case PromptButtons::OkCancel:
            break;
    }
    return PromptAnswer::Ok;
}

Prompter& CurrentPrompter() {
    return *g_prompter;
}

void SetPrompter(Prompter* prompter) {
    g_prompter = prompter ? prompter : &g_consolePrompter;
}

void ShowStopBox(const std::string& text, const std::string& caption, const std::string& detail) {
    CurrentPrompter().ShowWithDetail(text, detail, caption, PromptIcon::Stop, PromptButtons::Ok);
}
