#pragma once

#include <QApplication>
#include <string>

#include "platform/QtPrompter.h"

// What the command line asks of one run.
struct RunOptions {
    std::string port;             // --port: the port of this run; empty for the stored one
    std::string selfTestPicture;  // --selftest: run the self-test and save the panel here
};

// The application object: the Qt application with the company name of the per-user
// settings, the real message boxes, and the panel run modally until it closes.
class CTavrinoxApp {
  public:
    // Qt takes its own options (-platform ...) out of the arguments.
    CTavrinoxApp(int& argc, char** argv);
    ~CTavrinoxApp();
    CTavrinoxApp(const CTavrinoxApp&) = delete;
    CTavrinoxApp& operator=(const CTavrinoxApp&) = delete;

    // Runs the panel; the program's exit status.
    int InitInstance(const RunOptions& options);

  private:
    QApplication m_app;
    QtPrompter m_prompter;
};
