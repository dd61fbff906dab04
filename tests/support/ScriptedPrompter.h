#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/Prompter.h"

// Records every message box and answers from a script (OK, or Yes, when the script is empty).
class ScriptedPrompter : public Prompter {
  public:
    struct Box {
        std::string text;
        std::string caption;
        PromptIcon icon;
        PromptButtons buttons;
        std::string detail;  // the explanation under the text; empty for a plain box
    };

    PromptAnswer Show(const std::string& text, const std::string& caption, PromptIcon icon,
                      PromptButtons buttons) override {
        return ShowWithDetail(text, {}, caption, icon, buttons);
    }
    PromptAnswer ShowWithDetail(const std::string& text, const std::string& detail,
                                const std::string& caption, PromptIcon icon,
                                PromptButtons buttons) override {
        boxes.push_back({text, caption, icon, buttons, detail});
        if (!answers.empty()) {
            PromptAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return buttons == PromptButtons::YesNo ? PromptAnswer::Yes : PromptAnswer::Ok;
    }

    std::vector<Box> boxes;
    std::deque<PromptAnswer> answers;
};
