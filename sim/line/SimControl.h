#pragma once

#include <cstdint>
#include <string>

class SimLine;

// What one control command did.
struct ControlResult {
    bool ok = true;
    std::string reply;     // for the operator; the error when !ok
    uint32_t wait_ms = 0;  // a script pauses this long before its next command
    bool quit = false;
};

// Text commands that act on a simulated line (from stdin or a script file), one per line:
// "set 1 5 300", "message 2 100 Fan failure", "fault line noise 0", ...
// Blank lines and lines starting with '#' do nothing.
class SimControl {
  public:
    explicit SimControl(SimLine& line) : m_line(line) {}
    ControlResult Execute(const std::string& commandLine);

  private:
    SimLine& m_line;
};

// The command list with one line of help each, as printed by "help" and vcp-sim --help.
std::string ControlHelpText();
