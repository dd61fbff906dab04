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
};

// Writes each box to standard error and takes its first button.
class ConsolePrompter final : public Prompter {
  public:
    PromptAnswer Show(const std::string& text, const std::string& caption, PromptIcon icon,
                      PromptButtons buttons) override;
};

Prompter& CurrentPrompter();
// Installs `prompter` (nullptr restores the console prompter). The caller keeps ownership.
void SetPrompter(Prompter* prompter);

// Shorthand for the stop-icon box with one OK button used for every error report.
void ShowStopBox(const std::string& text, const std::string& caption);
