#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>

#include "link/Framing.h"
#include "protocol/Commands.h"

// A whole request (address, L, payload; SendPacket adds the checksum) and its answer, carried
// on the line as one piece: the first status of SendPacket and ReceivePacket that is not Ok,
// else Ok. A unit given up on in the present piece of work (LineWork) is not asked and
// yields NoAnswer; a unit that leaves the request unanswered is given up on. An exchange that
// yields to the user (a presence poll, or any inside YieldToUser) asked for while the user
// wants the line yields at once, unsent; one that yields after its request left leaves the
// unit owing that answer for the request's patience (OwedAnswers): the next exchanges throw
// it away, and one to the same unit waits for it before its request goes.
Status CarryExchange(std::span<const uint8_t> request, Patience patience, AnswerBuffer& answer,
                     LineUse use = LineUse::Ordinary);

// One request and its answer: the shape every command shares. The request is `command`
// followed by `arguments` (at most 254), to `unitAddress` (flags added here); the answer
// lands in `answer`. Returns the first status of SendPacket and ReceivePacket that is not
// Ok, else Ok; the caller checks length and code.
Status ExchangeWith(uint8_t unitAddress, Command command, std::span<const uint8_t> arguments,
                    Patience patience, AnswerBuffer& answer, LineUse use = LineUse::Ordinary);
Status ExchangeWith(uint8_t unitAddress, Command command, std::initializer_list<uint8_t> arguments,
                    Patience patience, AnswerBuffer& answer);

// The same exchange with the selected unit (g_currentUnitAddress).
Status Exchange(Command command, std::span<const uint8_t> arguments, Patience patience,
                AnswerBuffer& answer);
Status Exchange(Command command, std::initializer_list<uint8_t> arguments, Patience patience,
                AnswerBuffer& answer);

// Writes a request to `unitAddress` and reads nothing back: Ok or WriteFailed.
Status SendRequestTo(uint8_t unitAddress, Command command,
                     std::initializer_list<uint8_t> arguments);
// The same to the selected unit.
Status SendRequest(Command command, std::initializer_list<uint8_t> arguments);

// One break pulse on the link, carried on the line like an exchange: Ok or WriteFailed.
Status SendLineBreak();

// Ok when the answer carries `code`, else WrongCode.
Status ExpectCode(const AnswerBuffer& answer, uint8_t code);

// Exchange with the selected unit that accepts only `code`: Ok, WrongCode, or the framing
// status.
Status ExchangeExpecting(Command command, std::initializer_list<uint8_t> arguments,
                         Patience patience, uint8_t code, AnswerBuffer& answer);
