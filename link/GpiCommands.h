#pragma once

#include <cstdint>
#include <span>

#include "link/Framing.h"
#include "link/StorageTables.h"
#include "protocol/GpiArguments.h"

// GPI sequences of the selected unit: lists of file recalls that the unit steps through on

// Types of ReadGpiSequence.

// Answers ReadGpiSequence waits through for the record's end code before giving up.
constexpr int kMaxSequenceAnswers = 64;

// Refills g_gpiList (at most 10 entries): sends BC alone, which the unit answers with code 00
// and no data, then BD alone again and again, each answer (code 49 more, 4A last) carrying the
// next part of the list. 0 when the whole list came; 3 when the first answer's L is not 1, or
// the unit sends more than the 2,800-byte list buffer holds (g_gpiList gets what fit) or more
// than kMaxListAnswers answers; 6 for another code; else the failed exchange's status. Apart
// from a list cut at a full buffer, a failed read leaves g_gpiList as it was.
Status ReadGpiEventList();

// Sends B3, `gpi` and the action. Reset and Step: one exchange; 0 after any answer, whatever
// its code, else the failed exchange's status. Read: the same request is repeated while the
// unit answers with other codes, and the data of the answer with code 5F fills the record of
// `gpi` (0..9; other numbers are read but stored nowhere). 0 when the record arrived whole or
// carried no data (then it is left as it was); 3 when the record claimed more than 200
// events, more events than the answer carried, or ended inside its fixed fields (what arrived
// is kept); 6 when no 5F came within kMaxSequenceAnswers answers (the record is left as it
// was); else the failed exchange's status.
Status ReadGpiSequence(uint8_t gpi, GpiSequenceAction action);

// Inserts (`insert` 1) or removes (0) an event of sequence `gpi` at `position`: sends B4, gpi,
// position, insert, the event kind 01 (a file recall) and `fileId`. 0 when the unit answers
// with code 1D; 6 for another code; else the failed exchange's status.
Status SetGpiEvent(uint8_t gpi, uint8_t position, uint8_t insert, uint8_t fileId);

// Asks which sequence and event the unit is running: sends 9F alone and leaves the answer in
// `answer` for the caller to read. 0 for code 0D; 6 for another code; else the failed
// exchange's status.
Status ReadGpiStatus(AnswerBuffer& answer);

enum class SequenceParse {
    Whole,      // every record arrived as it described itself
    Truncated,  // a record claimed more than 200 events, or ended before its events did
};

// Fills `record` from sequence data as the unit sends it (3 bytes, name, step, n, n pairs).
// When the data holds several records each overwrites the last. Never reads past `data`,
// never stores more than 200 events; the event count is what was stored.
SequenceParse ParseSequenceRecord(std::span<const uint8_t> data, GpiSequenceRecord& record);
