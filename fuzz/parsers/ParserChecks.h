#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// The parsers of unit, file and controller data, each called on the input bytes directly,
// with no link, and checked after: tables within bounds, records the input does not define
// untouched, and a marker byte past each buffer they write intact. One check per fuzz target
// of the same name; the tests replay each target's seeds through it. A check returns false
// when an invariant broke.

using ParserCheck = bool (*)(std::span<const uint8_t> input);

struct ParserTarget {
    const char* name;  // the fuzz target and its seed folder fuzz/corpus/<name>
    ParserCheck check;
};

std::span<const ParserTarget> ParserTargets();
// The target of that name, or nullptr.
const ParserTarget* FindParserTarget(std::string_view name);

// One per parser family (parsers/*Checks.cpp).
bool CheckMenuRecords(std::span<const uint8_t> input);
bool CheckParameterAnswers(std::span<const uint8_t> input);
bool CheckEffectAnswers(std::span<const uint8_t> input);
bool CheckDirectoryList(std::span<const uint8_t> input);
bool CheckGpiList(std::span<const uint8_t> input);
bool CheckEffectList(std::span<const uint8_t> input);
bool CheckSequenceRecord(std::span<const uint8_t> input);
bool CheckConfigFile(std::span<const uint8_t> input);
bool CheckBypassFrames(std::span<const uint8_t> input);
bool CheckAboutText(std::span<const uint8_t> input);
bool CheckSnapshotFile(std::span<const uint8_t> input);
