#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>

#include "link/Framing.h"

// One request and its answer: the shape every command shares. The request goes to
// `unitAddress` (flags added here), the answer lands in `answer`. Returns the first non-zero
// status of SendPacket and ReceivePacket, else 0; the caller checks length and code.
int ExchangeWith(uint8_t unitAddress, std::span<const uint8_t> payload, uint32_t tries,
                 AnswerBuffer& answer);
int ExchangeWith(uint8_t unitAddress, std::initializer_list<uint8_t> payload, uint32_t tries,
                 AnswerBuffer& answer);

// The same exchange with the selected unit (g_currentUnitAddress).
int Exchange(std::span<const uint8_t> payload, uint32_t tries, AnswerBuffer& answer);
int Exchange(std::initializer_list<uint8_t> payload, uint32_t tries, AnswerBuffer& answer);

// Writes a request to the selected unit and reads nothing back: 0 or 4.
int SendRequest(std::initializer_list<uint8_t> payload);

// 0 when the answer carries `code`, else 6.
int ExpectCode(const AnswerBuffer& answer, uint8_t code);

// Exchange with the selected unit that accepts only `code`: 0, 6, or the framing status.
int ExchangeExpecting(std::initializer_list<uint8_t> payload, uint32_t tries, uint8_t code,
                      AnswerBuffer& answer);
