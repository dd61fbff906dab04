#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "protocol/Packet.h"

// One request as a unit sees it on the line: the address byte and the payload (command byte
// first). The length and checksum have already been checked by the collector.
struct SimRequest {
    uint8_t address = 0;
    std::vector<uint8_t> payload;

    uint8_t Command() const { return payload.empty() ? 0 : payload[0]; }
    // Argument byte k (payload byte k + 1); 0 past the end.
    uint8_t Arg(size_t k) const { return k + 1 < payload.size() ? payload[k + 1] : 0; }
    size_t ArgCount() const { return payload.empty() ? 0 : payload.size() - 1; }
    // The unit number addressed, with the low-nibble request flags ignored.
    int UnitNumber() const { return address >> 4; }
};

// An answer before framing: the code and the data bytes after it.
struct SimAnswer {
    uint8_t code = 0;
    std::vector<uint8_t> data;
    uint32_t delay_ms = 0;  // how long the unit works before it answers
};

// Appends the low 16 bits of `value` to answer data, high byte first.
void AppendWord(std::vector<uint8_t>& data, int value);

// First byte (the unit's address), L, code, data, checksum = (L + code + data) mod 256.
// Data beyond kMaxAnswerData is cut, so the packet always fits an answer buffer.
std::vector<uint8_t> EncodeAnswer(uint8_t unitAddress, const SimAnswer& answer);

// Unit-side framing: collects address, L, payload and checksum, one byte at a time.
// A request with a wrong checksum or L = 0 is dropped; a pause longer than kRequestGap_ms
// or a BREAK starts afresh, so a half-written request never swallows the next one.
class RequestCollector {
  public:
    static constexpr uint32_t kRequestGap_ms = 100;

    // Returns the request when `byte` completed a good one.
    std::optional<SimRequest> Feed(uint8_t byte);
    void Reset();

    int DroppedRequests() const { return m_dropped; }

  private:
    enum class Stage { Address, Length, Payload, Checksum };
    Stage m_stage = Stage::Address;
    SimRequest m_request;
    uint8_t m_length = 0;
    uint8_t m_sum = 0;
    uint32_t m_lastByte_ms = 0;
    int m_dropped = 0;
};
