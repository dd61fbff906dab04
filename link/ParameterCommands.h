#pragma once

#include <cstdint>

#include "link/Framing.h"

// Reading and changing the values behind the knobs (parameters 0..127, 16-bit, in
// g_paramTable) and the function buttons (128..255, 8-bit, in g_functionTable at number - 128).

// Stores every complete entry of the update list in answer data 0..L-2: a number below 0x80
// takes a big-endian word, a number from 0x80 on one byte. An entry cut off by the end of the
// data is ignored. Sends nothing.
void ApplyParameterUpdates(const AnswerBuffer& answer);

// 81: moves a parameter by a signed delta. Ok, WrongCode, or the framing status.
Status AdjustParameter(uint8_t number, int16_t delta);
// A8 with a 16-bit value. Ok, WrongCode, or the framing status.
Status SetParameterWord(uint8_t number, uint16_t value);
// A8 with an 8-bit value. Ok, WrongCode, or the framing status.
Status SetParameterByte(uint8_t number, uint8_t value);

// The byte-built forms of SetParameterByte that dialogs and the panel send themselves:
// the answer read with `patience` is left in `answer`, and its updates are applied only when
// code 04 came back. Ok for code 04, WrongCode for another code, or the framing status.
Status SendParameterByte(uint8_t number, uint8_t value, Patience patience, AnswerBuffer& answer);
// Writes the SetParameterByte request and reads no answer: Ok or WriteFailed.
Status SendParameterByteNoAnswer(uint8_t number, uint8_t value);

// AC then AE: every `value`. Ok, WrongLength or WrongCode, or the framing status; values
// stored before a failing step stay.
Status ReadParameterValues();
// AD then AF: every `referenceValue`. Ok, WrongLength or WrongCode, or the framing status.
Status ReadReferenceValues();
