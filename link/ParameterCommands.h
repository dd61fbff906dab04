#pragma once

#include <cstdint>
#include <functional>

#include "link/Framing.h"
#include "model/UnitValues.h"

// Reading and changing the values behind the knobs (parameters 0..127, 16-bit, in
// g_paramTable) and the function buttons (128..255, 8-bit, in g_functionTable at number - 128).
// Results: 0 success, 3 an answer of the wrong length, 6 an answer with another code than
// expected; 1, 4, 102 and 103 come from a failed exchange (no answer, request not written,
// answer cut before its length or code). Words go on the wire high byte first.

// Stores every complete entry of the update list in answer data 0..L-2: a number below 0x80
// takes a big-endian word, a number from 0x80 on one byte. An entry cut off by the end of the
// data is ignored. Sends nothing.
void ApplyParameterUpdates(const AnswerBuffer& answer);

// The two answers of ReadParameterValues, stored as far as they carry whole fields: the first
// holds parameters 0..126 a word each; the second parameter 127 as a word, then the functions
// a byte each. An answer too short for parameter 127 stores nothing. Send nothing. Into the
// selected unit's tables, or into `values` alone (the entries the answer carries).
void StoreParameterValues(const AnswerBuffer& answer);
void StoreRemainingValues(const AnswerBuffer& answer);
void StoreParameterValues(const AnswerBuffer& answer, UnitValues& values);
void StoreRemainingValues(const AnswerBuffer& answer, UnitValues& values);

// Moves parameter `number` by `delta`: sends 81, the number and the delta as a signed word,
// waiting up to 20 s. 0 when the answer carries code 04, whose update list is then
// applied; 6 for another code (nothing is applied); else the failed exchange's status.
Status AdjustParameter(uint8_t number, int16_t delta);
// Sets parameter `number` to a word: sends A8, the number and the value, waiting up to a
// minute. 0 for code 04, whose update list is applied; 6 for another code; else the failed
// exchange's status.
Status SetParameterWord(uint8_t number, uint16_t value);
// Sets parameter `number` to a byte: sends A8, the number and the value, waiting up to
// 20 s. 0 for code 04, whose update list is applied; 6 for another code; else the failed
// exchange's status.
Status SetParameterByte(uint8_t number, uint8_t value);

// The request of SetParameterByte as the dialogs and the panel send it themselves: the answer,
// awaited for up to `tries` reads, is left in `answer`, and its updates are applied only when
// code 04 came back. 0 for code 04, 6 for another code, else the failed exchange's status.
Status SendParameterByte(uint8_t number, uint8_t value, Patience patience, AnswerBuffer& answer);
// Writes the SetParameterByte request and reads no answer: 0 once written, 4 when it could
// not be.
Status SendParameterByteNoAnswer(uint8_t number, uint8_t value);

// Reads every `value`: sends AC alone, answered with code 02 and L = 255 (parameters 0..126,
// a word each) or with code 04 and L = 27 (parameters 0..12 only); then AE alone, answered
// with code 25 (parameter 127 as a word, then functions 128..255 a byte each, as many as the
// answer carries). 0 when both came; 6 for another code; 3 when the first answer's length
// does not match its code; else the failed exchange's status. Values stored before a failing
// step stay. `stored`, when given, runs as each answer is in the tables, before the next
// request: whoever follows the unit's values hears of them without waiting for the rest.
Status ReadParameterValues(const std::function<void()>& stored = {});
// The same requests and checks to the unit at `unitAddress`, selected or not, storing into
// `values` alone: the program-wide tables keep the selected unit's values.
Status ReadParameterValuesOf(uint8_t unitAddress, UnitValues& values);
// Reads every `referenceValue`: sends AD alone, answered with L = 255 and code 03 (parameters
// 0..126, a word each), then AF alone, answered with L = 131 and code 26 (parameter 127 as a
// word, functions 128..255 a byte each). 0 when both came; 3 when an answer's length is not
// the one expected (tested before the code); 6 for another code; else the failed exchange's
// status. References stored before a failing step stay.
Status ReadReferenceValues();
