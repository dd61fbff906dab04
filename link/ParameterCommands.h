#pragma once

#include <cstdint>

#include "link/Framing.h"

// Reading and changing the values behind the knobs (parameters 0..127, 16-bit, in
// g_paramTable) and the function buttons (128..255, 8-bit, in g_functionTable at number - 128).

// Answer codes of the parameter commands.
constexpr uint8_t kCodeParameterUpdates = 0x04;
constexpr uint8_t kCodeValuesFull = 0x02;   // parameters 0..126
constexpr uint8_t kCodeValuesShort = 0x04;  // parameters 0..12
constexpr uint8_t kCodeValuesRest = 0x25;   // parameter 127 and functions 128..255
constexpr uint8_t kCodeReferencesFirst = 0x03;
constexpr uint8_t kCodeReferencesRest = 0x26;

// Stores every complete entry of the update list in answer data 0..L-2: a number below 0x80
// takes a big-endian word, a number from 0x80 on one byte. An entry cut off by the end of the
// data is ignored. Sends nothing.
void ApplyParameterUpdates(const uint8_t* answer);

// 81: moves a parameter by a signed delta. 0, 6, or the framing status.
int AdjustParameter(uint8_t number, int16_t delta);
// A8 with a 16-bit value. 0, 6, or the framing status.
int SetParameterWord(uint8_t number, uint16_t value);
// A8 with an 8-bit value. 0, 6, or the framing status.
int SetParameterByte(uint8_t number, uint8_t value);

// The byte-built forms of SetParameterByte that dialogs and the panel send themselves:
// the answer read with `tries` is left in `answer`, and its updates are applied only when
// code 04 came back. 0 for code 04, 6 for another code, or the framing status.
int SendParameterByte(uint8_t number, uint8_t value, uint32_t tries, AnswerBuffer& answer);
// Writes the SetParameterByte request and reads no answer: 0 or 4.
int SendParameterByteNoAnswer(uint8_t number, uint8_t value);

// AC then AE: every `value`. 0, 3 or 6, or the framing status; values stored before a failing
// step stay.
int ReadParameterValues();
// AD then AF: every `referenceValue`. 0, 3 or 6, or the framing status.
int ReadReferenceValues();
