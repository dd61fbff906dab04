#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QProcess;

// The desktop's on-screen keyboard, run while a dialog that takes typed names is open, so a
// desk without a keyboard can name an effect. Nothing happens where none is installed.
class OnScreenKeyboard {
  public:
    // The keyboards looked for, in order of preference.
    static QStringList DefaultPrograms();

    // `programs` are looked for on PATH, or in `searchPaths` when given.
    explicit OnScreenKeyboard(QStringList programs = DefaultPrograms(),
                              QStringList searchPaths = {});
    ~OnScreenKeyboard();

    // Starts the first installed program, without arguments. False when none is installed
    // or it did not start; the caller carries on without it.
    bool Start();
    // Ends the program, forcibly when it does not end within a second.
    void Stop();
    bool Running() const;
    // The program started last, empty when none.
    QString Program() const { return m_program; }

  private:
    QStringList m_programs;
    QStringList m_searchPaths;
    QString m_program;
    std::unique_ptr<QProcess> m_process;
};
