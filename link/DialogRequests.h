#pragma once

#include <cstdint>
#include <span>

#include "link/Framing.h"

// Requests the dialogs send to the selected unit without examining the answer code: each
// returns the framing status of its exchange only, and leaves the answer in `answer` where
// the dialog reads it.

// GPI dialogs (B4, 100,000 tries): remove the first event of sequence `gpi`; append an event
// recalling `fileId` after the `eventCount` events the sequence holds.
Status RemoveFirstGpiEvent(uint8_t gpi);
Status AppendGpiEvent(uint8_t gpi, uint8_t eventCount, uint8_t fileId);

// On-air lock-out dialog: B8 number state, and once more through SetOnAirLockout when the
// first attempt fails or is not answered with 00. Returns the last attempt's status.
Status LockControl(uint8_t number, uint8_t state);

// Effects dialog (10,000 tries each).
Status RequestEffectInfo(uint8_t effectNumber, AnswerBuffer& answer);    // B0 effect 02
Status RequestEffectDelete(uint8_t effectNumber, AnswerBuffer& answer);  // B0 effect 00
Status RequestAssignments(uint8_t effectNumber, AnswerBuffer& answer);   // B1 effect 02
// B1 effect 01 count items; at most 251 items fit one request (WriteFailed for more).
Status WriteAssignments(uint8_t effectNumber, std::span<const uint8_t> items, AnswerBuffer& answer);
Status RequestKeyframe(uint8_t effectNumber, uint8_t keyframeIndex, AnswerBuffer& answer);  // B2
