#pragma once

#include <cstdint>
#include <span>

#include "link/Framing.h"
#include "link/StorageTables.h"
#include "protocol/Commands.h"

// Keyframes of an effect on the selected unit, and the generic request the keyframe menu
// edits them with. Results: 0 success, 6 an answer with another code than expected; 1, 4,
// 102 and 103 come from a failed exchange (no answer, request not written, answer cut before
// its length or code).

// Reads one keyframe: sends B2, `effectNumber`, `keyframeIndex` and 02 (read); the answer
// stays in `answer`. 0 when the unit answers with code 5E; 6 for another code; else the
// failed exchange's status.
Status ReadKeyframe(uint8_t effectNumber, uint8_t keyframeIndex, AnswerBuffer& answer);

// Sends `command` followed by `data`; the answer stays in `answer`. 0 when the answer carries
// `expectedCode`; 6 for another code; 4, sending nothing, when `data` holds more than 254
// bytes; else the failed exchange's status.
Status SendCommand(Command command, uint8_t expectedCode, std::span<const uint8_t> data,
                   AnswerBuffer& answer);

// A keyframe as a keyframe answer carries it: time data 3, 4 (big-endian), bytes data 5..7;
// the answer carries at least kKeyframeDataBytes of data.
constexpr int kKeyframeDataBytes = 8;
Keyframe KeyframeFromAnswer(const AnswerBuffer& answer);

// Stores the keyframe answer as keyframe `keyframeIndex` of effect entry `effectIndex`.
// False, storing nothing, when either index lies outside the table or the answer carries
// fewer than the 8 data bytes of a keyframe.
bool StoreKeyframe(int effectIndex, int keyframeIndex, const AnswerBuffer& answer);
