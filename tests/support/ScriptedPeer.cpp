#include "tests/support/ScriptedPeer.h"

std::vector<uint8_t> MakeAnswer(uint8_t first, uint8_t code, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> bytes{first, static_cast<uint8_t>(data.size() + 1), code};
    uint8_t sum = static_cast<uint8_t>(data.size() + 1 + code);
    for (uint8_t b : data) {
        bytes.push_back(b);
        sum = static_cast<uint8_t>(sum + b);
    }
    bytes.push_back(sum);
    return bytes;
}

void ScriptedPeer::Answer(std::vector<uint8_t> bytes, uint32_t delay_ms) {
    m_replies.push_back(Reply{std::move(bytes), delay_ms});
}

void ScriptedPeer::AnswerPacket(uint8_t first, uint8_t code, const std::vector<uint8_t>& data,
                                uint32_t delay_ms) {
    Answer(MakeAnswer(first, code, data), delay_ms);
}

void ScriptedPeer::Silence() {
    m_replies.push_back(std::nullopt);
}

void ScriptedPeer::OnMasterByte(InProcessLine& line, uint8_t byte) {
    m_current.push_back(byte);
    // A request is complete after address, L, L payload bytes and the checksum.
    if (m_current.size() < 2 || m_current.size() < static_cast<size_t>(m_current[1]) + 3) {
        return;
    }
    m_requests.push_back(m_current);
    m_current.clear();
    if (onRequest) {
        onRequest(m_requests.back());
    }
    if (m_replies.empty()) {
        return;
    }
    std::optional<Reply> reply = m_replies.front();
    m_replies.pop_front();
    if (reply) {
        line.SendToMaster(reply->bytes, reply->delay_ms);
    }
}
