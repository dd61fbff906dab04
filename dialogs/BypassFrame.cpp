#include "dialogs/BypassFrame.h"

BypassFrameAssembler::BypassFrameAssembler(size_t capacity) : m_capacity(capacity) {
    m_buffer.reserve(capacity);
}

bool BypassFrameAssembler::Push(uint8_t byte) {
    if (m_complete) {
        m_buffer.clear();
        m_complete = false;
    }
    m_buffer.push_back(byte);
    FindStart();
    m_complete = m_buffer.size() >= 2 && m_buffer.size() == m_buffer[1] + kBypassFrameOverhead;
    return m_complete;
}

std::span<const uint8_t> BypassFrameAssembler::Frame() const {
    return m_complete ? std::span<const uint8_t>(m_buffer) : std::span<const uint8_t>();
}

void BypassFrameAssembler::Clear() {
    m_buffer.clear();
    m_complete = false;
}

bool BypassFrameAssembler::StartsBadFrame() const {
    if (m_buffer.front() != kBypassFrameStart) {
        return true;
    }
    return m_buffer.size() >= 2 &&
           (m_buffer[1] == 0 || m_buffer[1] + kBypassFrameOverhead > m_capacity);
}

// Only the newest byte can spoil the start, so at most two bytes are ever looked at again.
void BypassFrameAssembler::FindStart() {
    while (!m_buffer.empty() && StartsBadFrame()) {
        m_buffer.erase(m_buffer.begin());
        ++m_dropped;
    }
}
