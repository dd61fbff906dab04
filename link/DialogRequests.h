#pragma once

#include <cstdint>
#include <span>

#include "link/Framing.h"

// Requests the dialogs build themselves and send to the selected unit. None examines the
// answer code: each returns 0 once any answer came, else the failed exchange's status (1 no
// answer, 4 request not written, 102 or 103 answer cut before its length or code).

// Effects dialog, leaving the answer in `answer` for the dialog; reads wait up to 10 s, the
// delete and the assignment write, which change the unit, up to a minute: effect info is B0,
// effect, 02; effect delete B0, effect, 00; the assignment read B1, effect, 02; the assignment
// write B1, effect, 01, the item count and the items; the keyframe read B2, effect, keyframe index,
// 02.
Status RequestEffectInfo(uint8_t effectNumber, AnswerBuffer& answer);    // B0 effect 02
Status RequestEffectDelete(uint8_t effectNumber, AnswerBuffer& answer);  // B0 effect 00
Status RequestAssignments(uint8_t effectNumber, AnswerBuffer& answer);   // B1 effect 02
// At most 251 items fit one request; for more it returns 4 and sends nothing.
Status WriteAssignments(uint8_t effectNumber, std::span<const uint8_t> items, AnswerBuffer& answer);
Status RequestKeyframe(uint8_t effectNumber, uint8_t keyframeIndex, AnswerBuffer& answer);  // B2
