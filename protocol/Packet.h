#pragma once

#include <cstddef>
#include <cstdint>

// The frame every request and answer travels in. A request: address byte, L, L payload bytes
// (command byte first), checksum. An answer: the unit's first byte, L, code, L - 1 data
// bytes, checksum.

constexpr uint8_t kRequestFlag = 0x02;  // ORed into the unit address of every request
constexpr size_t kMaxPayload = 255;     // L is one byte
constexpr size_t kMaxAnswerData = 254;  // an answer's L counts its code too
constexpr size_t kMaxPacketSize = 258;  // the longest request or answer, both frame bytes in

// Offsets inside an answer.
constexpr int kAnswerLength = 1;
constexpr int kAnswerCode = 2;
constexpr int kAnswerData = 3;
