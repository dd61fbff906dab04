#pragma once

// The link opened on an in-process line of its own, on a virtual clock, for the length of
// one fuzz input, and the units that answer on it; leaves the program-wide state clean behind
// it. Header only, so each storage target stays one file.

#include <cstdint>
#include <string>
#include <vector>

#include "link/SerialCom.h"
#include "model/PanelModel.h"
#include "platform/Clock.h"
#include "platform/InProcessLine.h"
#include "platform/PortNames.h"
#include "platform/Prompter.h"

namespace fuzz_link {

// The one unit on a fuzz line.
constexpr uint8_t kUnitAddress = 0x10;

// Collects each request (address, L, payload, checksum) and answers it; counts them.
class AnsweringPeer : public LinePeer {
  public:
    void OnMasterByte(InProcessLine& line, uint8_t byte) override {
        m_request.push_back(byte);
        if (m_request.size() >= 3 && m_request.size() >= static_cast<size_t>(m_request[1]) + 3) {
            const std::vector<uint8_t> request = m_request;
            m_request.clear();
            ++m_requests;
            Answer(line, request);
        }
    }
    // The requests whole so far, and whether any byte went out at all.
    size_t Requests() const { return m_requests; }
    bool Silent() const { return m_requests == 0 && m_request.empty(); }

  protected:
    virtual void Answer(InProcessLine& line, const std::vector<uint8_t>& request) = 0;

  private:
    std::vector<uint8_t> m_request;
    size_t m_requests = 0;
};

// Answers the lock-out read and the identify as a unit of the chosen model would, or not at
// all.
class UnitPeer final : public AnsweringPeer {
  public:
    UnitPeer(uint8_t model, bool answers) : m_model(model), m_answers(answers) {}

  private:
    void Answer(InProcessLine& line, const std::vector<uint8_t>& request) override {
        if (!m_answers) {
            return;
        }
        if (request[2] == 0xB9) {
            std::vector<uint8_t> answer{kUnitAddress, 129, 0x02};
            for (int k = 0; k < 128; ++k) {
                answer.push_back(static_cast<uint8_t>(k % 3));
            }
            answer.push_back(0);
            line.SendToMaster(answer);
        } else if (request[2] == 0xC0) {
            line.SendToMaster({kUnitAddress, 10, 0x40, 0x40, 0, m_model, 7, 0, 0, 0, 0, 0, 0});
        }
    }

    uint8_t m_model;
    bool m_answers;
};

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
