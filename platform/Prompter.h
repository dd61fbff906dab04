#pragma once

#include <string>

// Modal message boxes. The program shows real ones; tests install a scripted answerer; the
// command-line tools print to standard error. Texts are 8-bit, one byte per character.
enum class PromptIcon { Stop, Question, Warning, Information };
enum class PromptButtons { Ok, OkCancel, YesNo };
enum class PromptAnswer { Ok, Cancel, Yes, No };

class Prompter {
  public:
    virtual ~Prompter() = default;
    virtual PromptAnswer Show(const std::string& text, const std::string& caption, PromptIcon icon,
                              PromptButtons buttons) = 0;
    // The same box with a longer explanation under its text: what went wrong in detail and
    // what the user can do. A prompter with no place for it shows the box alone.
    virtual PromptAnswer ShowWithDetail(const std::string& text, const std::string& detail,
                                        const std::string& caption, PromptIcon icon,
                                        PromptButtons buttons) {
        (void)detail;
        return Show(text, caption, icon, buttons);
    }
};

// Writes each box to standard error, its detail on the next line, and takes its first button.
class ConsolePrompter final : public Prompter {
  public:
    PromptAnswer Show(const std::string& text, const std::string& caption, PromptIcon icon,
                      PromptButtons buttons) override;
    PromptAnswer ShowWithDetail(const std::string& text, const std::string& detail,
                                const std::string& caption, PromptIcon icon,
                                PromptButtons buttons) override;
};

Prompter& CurrentPrompter();
// Installs `prompter` (nullptr restores the console prompter). The caller keeps ownership.
void SetPrompter(Prompter* prompter);

// Shorthand for the stop-icon box with one OK button used for every error report; a
// non-empty `detail` goes under the text.
void ShowStopBox(const std::string& text, const std::string& caption,
                 const std::string& detail = {});
