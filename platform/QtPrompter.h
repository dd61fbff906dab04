#pragma once

#include "platform/Prompter.h"

class QWidget;

// Real modal message boxes over `parent` (may be null).
class QtPrompter final : public Prompter {
  public:
    explicit QtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }
    PromptAnswer Show(const std::string& text, const std::string& caption, PromptIcon icon,
                      PromptButtons buttons) override;
    // The detail shows under the text at once: it says how to put the fault right, which a
    // user should not have to ask for.
    PromptAnswer ShowWithDetail(const std::string& text, const std::string& detail,
                                const std::string& caption, PromptIcon icon,
                                PromptButtons buttons) override;

  private:
    QWidget* m_parent;
};
