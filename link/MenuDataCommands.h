#pragma once

#include <cstdint>
#include <span>

#include "link/Framing.h"

// Fetching a unit's menu image: PrepareMenuData, then ReadMenuData until the last chunk.

constexpr uint8_t kCodeMenuDataReady = 0x00;
constexpr uint8_t kCodeMenuDataLast = 0x42;

// ReadMenuData's own status: the unit sent more than the destination holds, or kept
// answering without data. What fitted stays in the destination; nothing is written past it.
constexpr int kStatusMenuDataOverflow = 110;

// Answers without data that ReadMenuData accepts in one transfer before it gives up.
constexpr int kMaxEmptyMenuDataAnswers = 256;

// C5, read with 2 tries: 0 for code 00, 6 for another code, or the framing status.
int PrepareMenuData();

// C1 repeated: appends each answer's data to `destination` until code 42. 0; 3 when an answer
// has L = 0; kStatusMenuDataOverflow; or the framing status.
int ReadMenuData(std::span<uint8_t> destination);
