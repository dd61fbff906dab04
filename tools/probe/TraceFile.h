#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "link/SerialCom.h"

// Writes every byte that crosses the link, one frame per line:
//   <ms since start> <direction> <hex bytes>
// with ">" for bytes sent to the units and "<" for bytes received. A frame ends when the
// direction changes or the line pauses for longer than one byte read.
class TraceFile final : public LinkTracer {
  public:
    ~TraceFile() override;
    bool Open(const std::string& path);
    void OnByte(TraceDirection direction, uint8_t byte) override;
    void Flush();

  private:
    std::FILE* m_file = nullptr;
    uint32_t m_start_ms = 0;
    uint32_t m_last_ms = 0;
    uint32_t m_frameStart_ms = 0;
    TraceDirection m_direction = TraceDirection::Sent;
    std::vector<uint8_t> m_frame;
};
