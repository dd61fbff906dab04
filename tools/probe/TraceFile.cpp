#include "tools/probe/TraceFile.h"

#include "platform/Clock.h"

namespace {
// A pause longer than this ends a frame even without a change of direction.
constexpr uint32_t kFrameGap_ms = 15;
}  // namespace

TraceFile::~TraceFile() {
    Flush();
    if (m_file) {
        std::fclose(m_file);
    }
}

bool TraceFile::Open(const std::string& path) {
    m_file = std::fopen(path.c_str(), "w");
    m_start_ms = CurrentClock().TickCount();
    return m_file != nullptr;
}

void TraceFile::OnByte(TraceDirection direction, uint8_t byte) {
    const uint32_t now = CurrentClock().TickCount();
    if (!m_frame.empty() && (direction != m_direction || now - m_last_ms > kFrameGap_ms)) {
        Flush();
    }
    if (m_frame.empty()) {
        m_frameStart_ms = now;
        m_direction = direction;
    }
    m_frame.push_back(byte);
    m_last_ms = now;
}

void TraceFile::Flush() {
    if (!m_file || m_frame.empty()) {
        m_frame.clear();
        return;
    }
    std::fprintf(m_file, "%u %c", m_frameStart_ms - m_start_ms,
                 m_direction == TraceDirection::Sent ? '>' : '<');
    for (uint8_t b : m_frame) {
        std::fprintf(m_file, " %02X", b);
    }
    std::fputc('\n', m_file);
    std::fflush(m_file);
    m_frame.clear();
}
