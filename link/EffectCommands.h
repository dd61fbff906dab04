#pragma once

#include <cstdint>
#include <string>

#include "link/Framing.h"
#include "link/StorageTables.h"

// Effects of the selected unit: named keyframe sequences and the parameters they animate.
// Each command returns a Status.

// C4 then C8: refills the names of g_effectTable and g_effectCount (whole entries, at most
// 9). Ok; WrongLength when the first answer's L is not 1 or the unit sends more than the
// 256-byte list holds (what fit is kept); WrongCode.
Status ReadEffectList();

// B0 FF 01 and the first 24 characters of `name`, zero-padded: the unit creates an effect
// and answers its number, stored in `effectNumber`. Ok; WrongCode.
Status CreateEffect(const std::string& name, uint8_t& effectNumber);

// A5 g_currentEffect: the unit runs the current effect. Ok; WrongCode.
Status SelectEffect();

// Stores what the effect info answer (B0 effect 02) says about entry data 0: its keyframe
// count (data 26, at most 32) and value (data 27, 28). Returns the entry's index, or -1 when
// it lies outside the table and nothing was stored.
int ApplyEffectInfo(const AnswerBuffer& answer);

// Stores the assignment answer (B1 effect 02) into entry data 0: count data 2 (at most 32,
// and no more than the answer carries), bytes data 3 on. Returns the index, or -1.
int ApplyEffectAssignments(const AnswerBuffer& answer);
