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

// Every wait for an answer is bounded so that a unit which stops answering costs the window
// seconds, never minutes: a unit that answers at all begins at once, and one that has been
// silent for the whole of a patience is taken as gone (docs/protocol.md lists the bounds).

// PrepareMenuData: a unit ready to send its image answers at once; the download tries ten
// times, with break pulses between, rather than wait.
constexpr Patience kPatience40ms{std::chrono::milliseconds(40)};
// IdentifyUnit: an absent unit must cost the presence poll no more than this.
constexpr Patience kPatience200ms{std::chrono::milliseconds(200)};
// Reads a unit answers from what it holds: values, texts, lists and each of their parts,
// lock-out tables, GPI status, effects and keyframes, file data, each chunk of the menu image.
constexpr Patience kPatience10s{std::chrono::seconds(10)};
// AdjustParameter and SetParameterByte: knob turns and button presses; a function may set
// the unit to work before it answers.
constexpr Patience kPatience20s{std::chrono::seconds(20)};
// The unit acts before it answers: it stores, loads or deletes a file, edits a GPI sequence,
// makes, selects or changes an effect, sets a word, locks a control, takes a reply, or carries
// out a request relayed for another controller.
constexpr Patience kPatience60s{std::chrono::seconds(60)};
// UpdateFileSystem: a unit rebuilds its file system in seconds; one that has not answered
// after five minutes is not going to. The panel says it is waiting while this runs.
constexpr Patience kPatience5min{std::chrono::minutes(5)};

static_assert(kPatience40ms.Reads() == 2 && kPatience200ms.Reads() == 10 &&
              kPatience10s.Reads() == 500 && kPatience20s.Reads() == 1'000 &&
              kPatience60s.Reads() == 3'000 && kPatience5min.Reads() == 15'000);
