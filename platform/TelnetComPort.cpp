#include "platform/TelnetComPort.h"

namespace {

constexpr uint8_t kIac = 255;
constexpr uint8_t kDont = 254;
constexpr uint8_t kDo = 253;
constexpr uint8_t kWont = 252;
constexpr uint8_t kWill = 251;
constexpr uint8_t kSb = 250;
constexpr uint8_t kSe = 240;

constexpr uint8_t kBinary = 0;
constexpr uint8_t kSuppressGoAhead = 3;
constexpr uint8_t kComPortOption = 44;

// A server's answer carries its command plus this.
constexpr uint8_t kAnswerOffset = 100;
// Answers this program reads are a few bytes; a longer subnegotiation is cut here.
constexpr size_t kMaxSubnegotiation = 64;

bool LocalAcceptable(uint8_t option) {
    return option == kBinary || option == kSuppressGoAhead || option == kComPortOption;
}

bool RemoteAcceptable(uint8_t option) {
    return option == kBinary || option == kSuppressGoAhead;
}

}  // namespace

std::vector<uint8_t> TelnetComPort::Offers() {
    std::vector<uint8_t> out;
    auto ask = [&](OptionSide& side, uint8_t verb, uint8_t option) {
        side.pending = true;
        out.insert(out.end(), {kIac, verb, option});
    };
    for (uint8_t option : {kBinary, kSuppressGoAhead}) {
        ask(m_local[option], kWill, option);
        ask(m_remote[option], kDo, option);
    }
    ask(m_local[kComPortOption], kWill, kComPortOption);
    m_comPortOffered = true;
    return out;
}

void TelnetComPort::AppendData(std::vector<uint8_t>& out, uint8_t byte) {
    out.push_back(byte);
    if (byte == kIac) {
        out.push_back(kIac);
    }
}

std::vector<uint8_t> TelnetComPort::ComPortCommand(uint8_t command,
                                                   std::initializer_list<uint8_t> value) {
    std::vector<uint8_t> out = {kIac, kSb, kComPortOption, command};
    for (uint8_t byte : value) {
        AppendData(out, byte);
    }
    out.insert(out.end(), {kIac, kSe});
    return out;
}

TelnetComPort::ComPortState TelnetComPort::ComPort() const {
    const OptionSide& side = m_local[kComPortOption];
    if (side.enabled) {
        return ComPortState::Agreed;
    }
    if (side.pending) {
        return ComPortState::Asked;
    }
    return m_comPortOffered ? ComPortState::Refused : ComPortState::NotAsked;
}

std::optional<std::vector<uint8_t>> TelnetComPort::Answer(uint8_t command) const {
    const auto it = m_answers.find(command);
    if (it == m_answers.end()) {
        return std::nullopt;
    }
    return it->second;
}

void TelnetComPort::Receive(const uint8_t* bytes, size_t count, std::deque<uint8_t>& data,
                            std::vector<uint8_t>& replies) {
    for (size_t i = 0; i < count; ++i) {
        const uint8_t byte = bytes[i];
        switch (m_parse) {
            case Parse::Data:
                if (byte == kIac) {
                    m_parse = Parse::Iac;
                } else {
                    data.push_back(byte);
                }
                break;
            case Parse::Iac:
                m_parse = Parse::Data;
                if (byte == kIac) {
                    data.push_back(kIac);
                } else if (byte >= kWill && byte <= kDont) {
                    m_verb = byte;
                    m_parse = Parse::Verb;
                } else if (byte == kSb) {
                    m_sub.clear();
                    m_subOverflow = false;
                    m_parse = Parse::Sub;
                }
                // Any other command (no operation, go ahead, ...) carries nothing for a line.
                break;
            case Parse::Verb:
                OnVerb(m_verb, byte, replies);
                m_parse = Parse::Data;
                break;
            case Parse::Sub:
                if (byte == kIac) {
                    m_parse = Parse::SubIac;
                } else if (m_sub.size() < kMaxSubnegotiation) {
                    m_sub.push_back(byte);
                } else {
                    m_subOverflow = true;
                }
                break;
            case Parse::SubIac:
                if (byte == kIac) {
                    if (m_sub.size() < kMaxSubnegotiation) {
                        m_sub.push_back(kIac);
                    }
                    m_parse = Parse::Sub;
                } else {
                    // IAC SE ends it; anything else after IAC ends it as well, cut short.
                    if (byte == kSe && !m_subOverflow) {
                        OnSubnegotiation();
                    }
                    m_parse = Parse::Data;
                }
                break;
        }
    }
}

void TelnetComPort::OnVerb(uint8_t verb, uint8_t option, std::vector<uint8_t>& replies) {
    const bool aboutUs = verb == kDo || verb == kDont;
    OptionSide& side = aboutUs ? m_local[option] : m_remote[option];
    const bool enable = verb == kDo || verb == kWill;
    const uint8_t yes = aboutUs ? kWill : kDo;
    const uint8_t no = aboutUs ? kWont : kDont;
    if (side.pending) {
        // The answer to our own request, yes or no: answered by nothing.
        side.pending = false;
        side.enabled = enable;
        return;
    }
    if (enable == side.enabled) {
        return;
    }
    if (!enable) {
        side.enabled = false;
        replies.insert(replies.end(), {kIac, no, option});
        return;
    }
    if (aboutUs ? LocalAcceptable(option) : RemoteAcceptable(option)) {
        side.enabled = true;
        replies.insert(replies.end(), {kIac, yes, option});
    } else if (!side.refused) {
        side.refused = true;
        replies.insert(replies.end(), {kIac, no, option});
    }
}

void TelnetComPort::OnSubnegotiation() {
    // Answers to our commands are kept; the server's notices of line and modem state and any
    // other option's subnegotiation carry nothing this program acts on.
    if (m_sub.size() < 2 || m_sub[0] != kComPortOption || m_sub[1] < kAnswerOffset) {
        return;
    }
    const uint8_t command = static_cast<uint8_t>(m_sub[1] - kAnswerOffset);
    if (command == kSetBaudRate || command == kSetDataSize || command == kSetParity ||
        command == kSetStopSize || command == kSetControl || command == kPurgeData) {
        m_answers[command] = std::vector<uint8_t>(m_sub.begin() + 2, m_sub.end());
    }
}
