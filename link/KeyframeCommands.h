#pragma once

#include <cstdint>
#include <span>

#include "link/Framing.h"
#include "link/StorageTables.h"
#include "protocol/Commands.h"

// Keyframes of an effect on the selected unit, and the generic request the keyframe menu
// edits them with.

// B2 effect index 02, answered with 5E; the answer stays in `answer`. Ok; WrongCode.
Status ReadKeyframe(uint8_t effectNumber, uint8_t keyframeIndex, AnswerBuffer& answer);

// `command` followed by `data` (at most 254 bytes; WriteFailed for more), answered with
// `expectedCode`; the answer stays in `answer`. Ok; WrongCode.
Status SendCommand(Command command, uint8_t expectedCode, std::span<const uint8_t> data,
                   AnswerBuffer& answer);

// A keyframe as a keyframe answer carries it: time data 3, 4 (big-endian), bytes data 5..7.
Keyframe KeyframeFromAnswer(const AnswerBuffer& answer);

// Stores the keyframe answer as keyframe `keyframeIndex` of effect entry `effectIndex`.
// False, storing nothing, when either index lies outside the table.
bool StoreKeyframe(int effectIndex, int keyframeIndex, const AnswerBuffer& answer);
