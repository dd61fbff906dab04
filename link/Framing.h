#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "link/LineCarrier.h"
#include "link/Patience.h"
#include "protocol/Commands.h"
#include "protocol/Packet.h"
#include "protocol/Status.h"

constexpr int kAnswerBufferSize = kMaxPacketSize;  // first byte, L, code, 254 data, checksum
constexpr int kMaxRequestSize = kMaxPacketSize;
using AnswerBuffer = std::array<uint8_t, kAnswerBufferSize>;

// Most bytes DrainInput throws away before it gives up on a line that never falls silent:
// four full answers, about 90 ms of solid traffic at 115200 baud.
constexpr int kDrainLimit = 1032;

enum class DrainResult { Silent, ReadFailed, Flooded };
// Discards input until the line has been quiet for 20 ms since the last byte that crossed
// it, either way, and nothing is pending: a line already quiet that long costs no wait.
DrainResult DrainLine();

// DrainLine on the line. True when the line fell silent, false when a read failed or the
// line kept talking past kDrainLimit bytes.
[[nodiscard]] bool DrainInput();

// Writes address, L, payload and checksum (L + payload, modulo 256) of `request`, reading
// exactly L + 2 bytes of it. A failed first byte reopens the link once. Ok or WriteFailed;
// WriteFailed, with nothing written, also when `request` is shorter than L + 2 bytes or the
// line is too busy to drain. When the addressed unit still owes an answer (OwedAnswers), that
// answer is waited for and thrown away first; a request that yields to the user returns
// Yielded, unsent, when the user wants the line before it goes.
Status SendPacket(std::span<const uint8_t> request, LineUse use = LineUse::Ordinary);

// Reads one answer into `answer`, waiting `patience` for its first byte: Ok, NoAnswer,
// NoLength, NoCode, or CutShort when a data byte did not come (the rest is not waited for).
// A presence poll returns Yielded, having read nothing, when the user wants the line while
// it waits for the first byte. An answer that starts with the address of a unit that still
// owes one is thrown away, and the wait goes on.
Status ReceivePacket(AnswerBuffer& answer, Patience patience, LineUse use = LineUse::Ordinary);

// The address byte of a request to unit address `unitAddress`.
inline uint8_t RequestAddress(uint8_t unitAddress) {
    return static_cast<uint8_t>(unitAddress | kRequestFlag);
}

// Whether a whole request is an identify, whose answer alone carries code 40: none of the
// reads a poll gives the line up on (values and references) answers with it.
inline bool IsIdentifyRequest(std::span<const uint8_t> request) {
    return request.size() > 2 && request[1] >= 1 && request[2] == Byte(Command::IdentifyUnit);
}

// Answer fields.
inline int AnswerLength(const AnswerBuffer& answer) {
    return answer[kAnswerLength];
}
// The data bytes an answer carries: L - 1, none for L of 0 or 1.
inline int AnswerDataCount(const AnswerBuffer& answer) {
    const int length = AnswerLength(answer);
    return length > 1 ? length - 1 : 0;
}
inline int AnswerCode(const AnswerBuffer& answer) {
    return answer[kAnswerCode];
}
// Data byte k of an answer (buffer offset 3 + k); 0 past the buffer.
inline uint8_t AnswerData(const AnswerBuffer& answer, int k) {
    return k >= 0 && kAnswerData + k < kAnswerBufferSize ? answer[kAnswerData + k] : 0;
}
