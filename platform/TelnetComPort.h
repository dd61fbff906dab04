#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <map>
#include <optional>
#include <vector>

// The Telnet side of a connection to a serial device server that controls its port through
// the com-port option: what the client sends, framed and escaped, and what the server sends,
// split into data bytes, the server's own option negotiation (answered) and the answers to
// com-port commands (kept for the caller to look at). No I/O.
class TelnetComPort {
  public:
    // Com-port commands; the server answers each with the command plus 100.
    enum Command : uint8_t {
        kSetBaudRate = 1,
        kSetDataSize = 2,
        kSetParity = 3,
        kSetStopSize = 4,
        kSetControl = 5,
        kPurgeData = 12,
    };
    // Values of kSetParity, kSetControl and kPurgeData this program sends.
    static constexpr uint8_t kParityNone = 1;
    static constexpr uint8_t kParityOdd = 2;
    static constexpr uint8_t kNoFlowControlOut = 1;
    static constexpr uint8_t kBreakOn = 5;
    static constexpr uint8_t kBreakOff = 6;
    static constexpr uint8_t kDtrOn = 8;
    static constexpr uint8_t kDtrOff = 9;
    static constexpr uint8_t kRtsOn = 11;
    static constexpr uint8_t kRtsOff = 12;
    static constexpr uint8_t kNoFlowControlIn = 14;
    static constexpr uint8_t kPurgeBoth = 3;

    enum class ComPortState { NotAsked, Asked, Agreed, Refused };

    // The client's offers when it connects: binary data and no go-ahead both ways, and the
    // com-port option.
    std::vector<uint8_t> Offers();
    // One data byte as it goes on the connection: 0xFF doubled.
    static void AppendData(std::vector<uint8_t>& out, uint8_t byte);
    // A com-port command with its value, 0xFF inside the value doubled.
    static std::vector<uint8_t> ComPortCommand(uint8_t command,
                                               std::initializer_list<uint8_t> value);

    // Takes bytes the server sent: data bytes are appended to `data`, the answers to the
    // server's option requests to `replies` (for the caller to send back). Sequences may be
    // split anywhere across calls.
    void Receive(const uint8_t* bytes, size_t count, std::deque<uint8_t>& data,
                 std::vector<uint8_t>& replies);

    ComPortState ComPort() const;
    // The value of the server's latest answer to `command`, if one came since ForgetAnswers.
    std::optional<std::vector<uint8_t>> Answer(uint8_t command) const;
    void ForgetAnswers() { m_answers.clear(); }

  private:
    // One side of one option: enabled, asked for by us and not yet answered, or refused once
    // (a refusal is not repeated, so a server that keeps asking cannot start a loop).
    struct OptionSide {
        bool enabled = false;
        bool pending = false;
        bool refused = false;
    };
    enum class Parse { Data, Iac, Verb, Sub, SubIac };

    void OnVerb(uint8_t verb, uint8_t option, std::vector<uint8_t>& replies);
    void OnSubnegotiation();

    std::array<OptionSide, 256> m_local{};   // what this client does (WILL / WONT)
    std::array<OptionSide, 256> m_remote{};  // what the server does (DO / DONT asked of it)
    Parse m_parse = Parse::Data;
    uint8_t m_verb = 0;
    std::vector<uint8_t> m_sub;
    bool m_subOverflow = false;
    bool m_comPortOffered = false;
    std::map<uint8_t, std::vector<uint8_t>> m_answers;
};
