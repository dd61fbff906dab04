#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "platform/InProcessLine.h"

// A test peer that collects each request the master writes (address, L, payload, checksum)
// and answers it with the next scripted reply. A reply may be any bytes, arrive late, or be
// missing, so framing faults can be staged exactly.
class ScriptedPeer : public LinePeer {
  public:
    struct Reply {
        std::vector<uint8_t> bytes;
        uint32_t delay_ms = 0;
    };

    // Queues a reply for the next request.
    void Answer(std::vector<uint8_t> bytes, uint32_t delay_ms = 0);
    // Queues a well-formed answer: first byte, L = data size + 1, code, data, checksum.
    void AnswerPacket(uint8_t first, uint8_t code, const std::vector<uint8_t>& data,
                      uint32_t delay_ms = 0);
    // The next request gets no answer.
    void Silence();

    const std::vector<std::vector<uint8_t>>& Requests() const { return m_requests; }
    void OnMasterByte(InProcessLine& line, uint8_t byte) override;

    // Called with each complete request before its scripted reply is sent; may queue replies.
    std::function<void(const std::vector<uint8_t>&)> onRequest;

  private:
    std::vector<uint8_t> m_current;
    std::vector<std::vector<uint8_t>> m_requests;
    std::deque<std::optional<Reply>> m_replies;
};

// A well-formed answer packet as a unit sends it.
std::vector<uint8_t> MakeAnswer(uint8_t first, uint8_t code, const std::vector<uint8_t>& data);
