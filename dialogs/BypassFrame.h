#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Frames another controller sends on the bypass port: 0x02, L (not 0), L payload bytes and the
// sender's checksum, L + 3 bytes in all. The assembler takes the port's bytes one at a time
// and finds the frames in them: bytes before a 0x02 are dropped, and so is a start whose L is
// 0 or whose frame could not fit the buffer; the search then goes on from the byte after that
// 0x02, so a start hidden in a bad frame is still found. Nothing here touches a port.

constexpr uint8_t kBypassFrameStart = 0x02;
constexpr size_t kBypassFrameBufferSize = 260;
constexpr size_t kBypassFrameOverhead = 3;  // start, L and checksum

class BypassFrameAssembler {
  public:
    explicit BypassFrameAssembler(size_t capacity = kBypassFrameBufferSize);

    // Takes one byte; true when it completed a frame, which Frame() holds until the next Push.
    bool Push(uint8_t byte);
    // The completed frame, empty when the last Push completed none.
    std::span<const uint8_t> Frame() const;
    // Forgets a frame in progress (the relay starts afresh).
    void Clear();

    size_t Pending() const { return m_complete ? 0 : m_buffer.size(); }
    uint64_t DroppedBytes() const { return m_dropped; }
    size_t Capacity() const { return m_capacity; }

  private:
    // Drops bytes from the front until the buffer starts like a frame that can complete.
    void FindStart();
    bool StartsBadFrame() const;

    size_t m_capacity;
    std::vector<uint8_t> m_buffer;
    bool m_complete = false;
    uint64_t m_dropped = 0;
};
