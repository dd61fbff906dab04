#pragma once

#include <cstdint>
#include <span>

#include "link/Framing.h"
#include "link/StorageTables.h"
#include "protocol/GpiArguments.h"

// GPI sequences of the selected unit: lists of file recalls that the unit steps through on
// an external trigger. Each command returns a Status.

// Answers ReadGpiSequence waits through for the record's end code before giving up.
constexpr int kMaxSequenceAnswers = 64;

// BC then BD: refills g_gpiList (at most 10 entries). Ok; WrongLength when the first answer's
// L is not 1 or the unit sends more than the 2,800-byte list holds (what fit is kept);
// WrongCode.
Status ReadGpiEventList();

// B3 gpi type. Reset and Step: one exchange, its framing status. Read: the request is
// repeated until the answer code 5F, and the last answer's data fills the record of `gpi`
// (0..9; other numbers are read but stored nowhere). Ok; WrongLength when the record claimed
// more than 200 events or fewer than it carried (what arrived is kept); WrongCode when no 5F
// came within kMaxSequenceAnswers answers (the record is left as it was); the framing status
// otherwise.
Status ReadGpiSequence(uint8_t gpi, GpiSequenceAction action);

// B4 gpi position insert/remove 01 fileId, answered with 1D. Ok; WrongCode.
Status SetGpiEvent(uint8_t gpi, uint8_t position, uint8_t insert, uint8_t fileId);

// 9F: the running sequence and event, left in `answer`. Ok; WrongCode.
Status ReadGpiStatus(AnswerBuffer& answer);

enum class SequenceParse {
    Whole,      // every record arrived as it described itself
    Truncated,  // a record claimed more than 200 events, or ended before its events did
};

// Fills `record` from sequence data as the unit sends it (3 bytes, name, step, n, n pairs).
// When the data holds several records each overwrites the last. Never reads past `data`,
// never stores more than 200 events; the event count is what was stored.
SequenceParse ParseSequenceRecord(std::span<const uint8_t> data, GpiSequenceRecord& record);
