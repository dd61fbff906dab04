#pragma once

#include <cstdint>
#include <string>

#include "link/Framing.h"
#include "link/StorageTables.h"

// Effects of the selected unit: named keyframe sequences and the parameters they animate.
// Each command returns a Status (protocol/Status.h), named here by number: 0 success, 3 a list of
// the wrong size, 6 an answer with a code the command does not accept; 1, 4, 102 and 103 come from
// a failed exchange (no answer, request not written, answer cut before its length or code).

// Refills number, second number and name of the g_effectTable entries and g_effectCount
// (whole 28-byte entries, at most 9): sends C4 alone, answered with code 00 and no data, then
// C8 alone again and again, each answer (code 47 more, 48 last) carrying the next part of the
// list. 0 when the whole list came; 3 when the first answer's L is not 1, or the unit sends
// more than the 256-byte list buffer holds (the table gets what fit) or more than
// kMaxListAnswers answers; 6 for another code; else the failed exchange's status.
Status ReadEffectList();

// Creates an effect named `name`: sends B0, FF (a new effect), 01 (create) and the first 24
// characters of `name`, zero-padded to 24 bytes. 0 when the unit answers with code 5C; its
// data 0, the new effect's number, is then stored in `effectNumber`. 6 for another code; else
// the failed exchange's status; `effectNumber` is changed only on success.
Status CreateEffect(const std::string& name, uint8_t& effectNumber);

// Makes the unit run the current effect: sends A5 and g_currentEffect. 0 when the unit
// answers with code 35; 6 for another code; else the failed exchange's status.
Status SelectEffect();

// Stores what the effect info answer (B0 effect 02) says about entry data 0: its keyframe
// count (data 26, at most 32) and value (data 27, 28). Returns the entry's index, or -1 when
// it lies outside the table or the answer carries fewer than 29 data bytes; then nothing is
// stored.
int ApplyEffectInfo(const AnswerBuffer& answer);

// Where the effect info answer keeps its keyframe count, and the data it must carry at least
// (up to its value, data 28); the data an assignment answer carries at least (up to its count).
constexpr int kEffectInfoKeyframeCount = 26;
constexpr int kEffectInfoDataBytes = 29;
constexpr int kAssignmentDataBytes = 3;

// Stores the assignment answer (B1 effect 02) into entry data 0: count data 2 (at most 32,
// and no more than the answer carries), bytes data 3 on. Returns the index, or -1.
int ApplyEffectAssignments(const AnswerBuffer& answer);
