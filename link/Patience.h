#pragma once

#include <chrono>
#include <cstdint>

// How long a command waits for the first byte of its answer. The link reads one byte at a
// time and each empty read lasts its time-out, so ReceivePacket counts a patience in reads.

// One empty read: the link's 10 ms per byte plus 10 ms (ReopenPort).
constexpr std::chrono::milliseconds kByteRead{20};

class Patience {
  public:
    constexpr explicit Patience(std::chrono::milliseconds wait)
        : m_reads(static_cast<uint32_t>(wait / kByteRead)) {}

    // Reads of up to kByteRead; a first byte counts only from the reads before the last.
    constexpr uint32_t Reads() const { return m_reads; }

  private:
    uint32_t m_reads;
};

// PrepareMenuData: a unit ready to send its image answers at once; the download tries ten
// times, with break pulses between, rather than wait.
constexpr Patience kPatience40ms{std::chrono::milliseconds(40)};
// IdentifyUnit: an absent unit must cost the presence poll no more than this.
constexpr Patience kPatience200ms{std::chrono::milliseconds(200)};
// AdjustParameter and SetParameterByte: knob turns and button presses, answered at once.
constexpr Patience kPatience20s{std::chrono::seconds(20)};
// Most commands: value reads, texts, lists, lock-out, effects, keyframes, file saves and
// file data, which a unit answers from what it holds.
constexpr Patience kPatience200s{std::chrono::seconds(200)};
// LoadFile, DeleteFile, the GPI event edits and relayed packets: the unit works on its file
// system, or on another controller's request, before it answers. 2,000 s.
constexpr Patience kPatience33min{std::chrono::seconds(2'000)};
// Each ReadMenuData chunk: a unit that has begun its image is given all the time it needs.
// 10,000 s.
constexpr Patience kPatience2h47min{std::chrono::seconds(10'000)};
// UpdateFileSystem: the unit answers only once its file system is rebuilt. 40,000 s.
constexpr Patience kPatience11h{std::chrono::seconds(40'000)};

// The reads the commands have always counted; the wire must not notice the names.
static_assert(kPatience40ms.Reads() == 2 && kPatience200ms.Reads() == 10 &&
              kPatience20s.Reads() == 1'000 && kPatience200s.Reads() == 10'000 &&
              kPatience33min.Reads() == 100'000 && kPatience2h47min.Reads() == 500'000 &&
              kPatience11h.Reads() == 2'000'000);
