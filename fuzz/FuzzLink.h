#pragma once

// The link opened on an in-process line of its own, on a virtual clock, for the length of
// one fuzz input; leaves the program-wide state clean behind it. Header only, so each storage
// target stays one file.

#include <cstdint>
#include <string>

#include "link/SerialCom.h"
#include "model/PanelModel.h"
#include "platform/Clock.h"
#include "platform/InProcessLine.h"
#include "platform/PortNames.h"
#include "platform/Prompter.h"

namespace fuzz_link {

// The one unit on a fuzz line.
constexpr uint8_t kUnitAddress = 0x10;

// Every box is answered Ok at once.
class QuietPrompter final : public Prompter {
  public:
    PromptAnswer Show(const std::string&, const std::string&, PromptIcon, PromptButtons) override {
        return PromptAnswer::Ok;
    }
};

class FuzzLink {
  public:
    // `resetTables` clears the tables of the parsers under test, before and after.
    FuzzLink(const char* lineName, LinePeer& peer, void (*resetTables)())
        : m_lineName(lineName), m_resetTables(resetTables), m_line(&peer) {
        ResetProgramState();
        m_resetTables();
        RegisterInProcessLine(m_lineName, &m_line);
        PortNames().SetRunOverride(std::string("inproc:") + m_lineName);
        SetPrompter(&m_prompter);
        static_cast<void>(ReopenPort(1));  // the registered line always opens
        g_currentUnitAddress = kUnitAddress;
    }
    ~FuzzLink() {
        g_link.Close();
        PortNames().SetRunOverride("");
        UnregisterInProcessLine(m_lineName);
        SetPrompter(nullptr);
        ResetProgramState();
        m_resetTables();
    }
    FuzzLink(const FuzzLink&) = delete;
    FuzzLink& operator=(const FuzzLink&) = delete;

  private:
    const char* m_lineName;
    void (*m_resetTables)();
    ScopedVirtualClock m_clock{1000};
    QuietPrompter m_prompter;
    InProcessLine m_line;
};

}  // namespace fuzz_link
