#pragma once

#include <array>
#include <cstdint>

// Status codes of every exchange and command.
constexpr int kStatusOk = 0;
constexpr int kStatusNoAnswer = 1;
constexpr int kStatusWrongLength = 3;
constexpr int kStatusWriteFailed = 4;
constexpr int kStatusWrongCode = 6;
constexpr int kStatusNoLength = 102;
constexpr int kStatusNoCode = 103;

constexpr int kAnswerBufferSize = 258;  // first byte, L, code, up to 254 data bytes, checksum
constexpr int kMaxRequestSize = 258;
using AnswerBuffer = std::array<uint8_t, kAnswerBufferSize>;

// Offsets inside an answer buffer.
constexpr int kAnswerLength = 1;
constexpr int kAnswerCode = 2;
constexpr int kAnswerData = 3;

constexpr uint8_t kRequestFlag = 0x02;

// Most bytes DrainInput throws away before it gives up on a line that never falls silent:
// four full answers, about 90 ms of solid traffic at 115200 baud.
constexpr int kDrainLimit = 1032;

// Patience of the commands, in reads of up to 20 ms.
constexpr uint32_t kTries2 = 2;
constexpr uint32_t kTries10 = 10;
constexpr uint32_t kTries1k = 1000;
constexpr uint32_t kTries10k = 10000;
constexpr uint32_t kTries100k = 100000;
constexpr uint32_t kTries500k = 500000;
constexpr uint32_t kTries2M = 2000000;

enum class DrainResult { Silent, ReadFailed, Flooded };
DrainResult DrainLine();

// Discards input until a read delivers nothing. Returns 1 when the line fell silent, 0 when
// a read failed or the line kept talking past kDrainLimit bytes.
int DrainInput();

// Writes address, L, payload and checksum (L + payload, modulo 256) of `request`, reading
// exactly L + 2 bytes of it. A failed first byte reopens the link once. 0 or 4; 4 also when
// the line is too busy to drain.
int SendPacket(const uint8_t* request);

// Reads one answer into the 258-byte `answer`: 0, 1, 102 or 103.
int ReceivePacket(uint8_t* answer, uint32_t tries);

// The address byte of a request to unit address `unitAddress`.
inline uint8_t RequestAddress(uint8_t unitAddress) {
    return static_cast<uint8_t>(unitAddress | kRequestFlag);
}

// Answer fields, read from a 258-byte answer buffer.
inline int AnswerLength(const uint8_t* answer) {
    return answer[kAnswerLength];
}
// The data bytes an answer carries: L - 1, none for L of 0 or 1.
inline int AnswerDataCount(const uint8_t* answer) {
    const int length = AnswerLength(answer);
    return length > 1 ? length - 1 : 0;
}
inline int AnswerCode(const uint8_t* answer) {
    return answer[kAnswerCode];
}
// Data byte k of an answer (buffer offset 3 + k); 0 past the buffer.
inline uint8_t AnswerData(const uint8_t* answer, int k) {
    return k >= 0 && kAnswerData + k < kAnswerBufferSize ? answer[kAnswerData + k] : 0;
}
