#include "sim/unit/SimPacket.h"

#include <algorithm>

#include "platform/Clock.h"

void AppendWord(std::vector<uint8_t>& data, int value) {
    const auto word = static_cast<uint16_t>(value);
    data.push_back(static_cast<uint8_t>(word >> 8));
    data.push_back(static_cast<uint8_t>(word & 0xFF));
}

std::vector<uint8_t> EncodeAnswer(uint8_t unitAddress, const SimAnswer& answer) {
    const size_t dataSize = std::min(answer.data.size(), kMaxAnswerData);
    const auto length = static_cast<uint8_t>(dataSize + 1);
    std::vector<uint8_t> packet;
    packet.reserve(dataSize + 4);
    packet.push_back(unitAddress);
    packet.push_back(length);
    packet.push_back(answer.code);
    uint8_t sum = static_cast<uint8_t>(length + answer.code);
    for (size_t i = 0; i < dataSize; ++i) {
        packet.push_back(answer.data[i]);
        sum = static_cast<uint8_t>(sum + answer.data[i]);
    }
    packet.push_back(sum);
    return packet;
}

void RequestCollector::Reset() {
    m_stage = Stage::Address;
    m_request = {};
    m_length = 0;
    m_sum = 0;
}

std::optional<SimRequest> RequestCollector::Feed(uint8_t byte) {
    const uint32_t now = CurrentClock().TickCount();
    if (m_stage != Stage::Address && now - m_lastByte_ms > kRequestGap_ms) {
        ++m_dropped;
        Reset();
    }
    m_lastByte_ms = now;

    switch (m_stage) {
        case Stage::Address:
            m_request.address = byte;
            m_stage = Stage::Length;
            return std::nullopt;
        case Stage::Length:
            if (byte == 0) {
                ++m_dropped;
                Reset();
                return std::nullopt;
            }
            m_length = byte;
            m_sum = byte;
            m_stage = Stage::Payload;
            return std::nullopt;
        case Stage::Payload:
            m_request.payload.push_back(byte);
            m_sum = static_cast<uint8_t>(m_sum + byte);
            if (m_request.payload.size() == m_length) {
                m_stage = Stage::Checksum;
            }
            return std::nullopt;
        case Stage::Checksum:
            break;
    }
    std::optional<SimRequest> done;
    if (byte == m_sum) {
        done = std::move(m_request);
    } else {
        ++m_dropped;
    }
    Reset();
    return done;
}
