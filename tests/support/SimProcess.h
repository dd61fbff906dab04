#pragma once

#include <QProcess>
#include <QTemporaryDir>
#include <string>

// vcp-sim as a separate program serving a line on a pseudo-terminal, for the few
// end-to-end tests that run on the real clock.
class SimProcess {
  public:
    ~SimProcess();

    // Starts `vcp-sim --pty <temp>/line --units <units>` and waits for its "ready" line.
    bool Start(const std::string& units);
    // The path the panel side opens.
    const std::string& LinePath() const { return m_linePath; }
    // Sends one control command on the simulator's standard input.
    void Control(const std::string& command);
    // Sends a command that answers with one line (show, set) and returns that line, empty
    // when none came within `timeout_ms`.
    std::string ControlReply(const std::string& command, int timeout_ms = 5000);
    void Stop();

  private:
    QTemporaryDir m_dir;
    QProcess m_process;
    std::string m_linePath;
    QByteArray m_output;  // what the simulator printed and no one has read yet
};
