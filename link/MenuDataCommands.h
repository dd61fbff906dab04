#pragma once

#include <cstdint>
#include <span>

#include "link/Framing.h"

// Fetching a unit's menu image: PrepareMenuData, then ReadMenuData until the last chunk.
// Results: 0 success, 3 an answer of the wrong length, 6 an answer with another code than
// expected; 1, 4, 102 and 103 come from a failed exchange (no answer, request not written,
// answer cut before its length or code).

// Answers without data that ReadMenuData accepts in one transfer before it gives up.
constexpr int kMaxEmptyMenuDataAnswers = 256;

// Tells the selected unit to send its menu image from the start: sends C5 alone and reads
// with 2 tries, so the answer must begin within the first read of 20 ms. 0 for code 00; 6 for
// another code; else the failed exchange's status.
Status PrepareMenuData();

// Sends C1 alone again and again, waiting up to 10 s for each answer, and appends
// each answer's data to `destination`; code 42 marks the last chunk, any other code means
// more follows. 0 after code 42; 3 when an answer has L = 0; kStatusMenuDataOverflow when the
// unit sends more than `destination` holds or too many answers without data; else the failed
// exchange's status.
Status ReadMenuData(std::span<uint8_t> destination);
