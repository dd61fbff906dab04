#pragma once

#include <cstdint>
#include <span>

#include "link/Framing.h"
#include "protocol/Commands.h"
#include "protocol/Lists.h"

// A list that a unit sends over several answers: the directories, the GPI list, the effect
// list and a file's data. The first request is answered with L = 1 and code 00; then the
// same request with the follow-up command byte is repeated, each answer carrying the next
// part of the list and a "more" or "last" code.

// Answers a list may take before the unit is taken to be running on: a full 2,800-byte list
// in 28-byte answers needs 100.
constexpr int kMaxListAnswers = 256;

// Gathers the data bytes of the answers into a fixed buffer and never writes past it.
class ListCollector {
  public:
    explicit ListCollector(std::span<uint8_t> buffer) : m_buffer(buffer) {}

    // Appends data 0 .. L-2 of `answer`. False when they did not all fit; what fits is kept.
    bool Append(const AnswerBuffer& answer);

    std::span<const uint8_t> Bytes() const { return m_buffer.first(m_size); }
    size_t Size() const { return m_size; }
    bool Full() const { return m_size == m_buffer.size(); }
    // The first answer was accepted, so the list is being refilled.
    bool Started() const { return m_started; }
    void MarkStarted() { m_started = true; }

  private:
    std::span<uint8_t> m_buffer;
    size_t m_size = 0;
    bool m_started = false;
};

// Whether the table may be refilled from what `collector` gathered: the whole list came, or
// it was cut at the end of the buffer (WrongLength with the buffer full). A list that ran on
// without end, or failed part-way, is not one.
[[nodiscard]] bool ListArrived(Status status, const ListCollector& collector);

// Sends `first` with `arguments` to the selected unit, then repeats the arguments with the
// command `followUp` until the `codes.last` answer, collecting the data. Ok on a whole list;
// WrongLength when the first answer's L is not 1, or when the unit sends more than the
// collector holds or more than kMaxListAnswers answers (the collector keeps what fit);
// WrongCode on a wrong code; the framing status otherwise.
Status ReadCollectedList(Command first, Command followUp, std::span<const uint8_t> arguments,
                         ListCodes codes, Patience patience, ListCollector& collector);
