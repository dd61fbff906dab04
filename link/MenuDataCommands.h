#pragma once

#include <cstdint>
#include <span>

#include "link/Framing.h"

// Fetching a unit's menu image: PrepareMenuData, then ReadMenuData until the last chunk.

// Answers without data that ReadMenuData accepts in one transfer before it gives up.
constexpr int kMaxEmptyMenuDataAnswers = 256;

// C5, read with kPatience40ms: Ok for code 00, WrongCode for another code, or the framing
// status.
Status PrepareMenuData();

// C1 repeated: appends each answer's data to `destination` until code 42. Ok; WrongLength
// when an answer has L = 0; MenuDataOverflow when the unit sent more than the destination
// holds or kept answering without data (what fitted stays; nothing is written past it); or
// the framing status.
Status ReadMenuData(std::span<uint8_t> destination);
