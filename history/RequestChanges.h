#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// Which requests change a unit, decoded from the payload the panel writes (command byte
// first). Reads, polls and list requests change nothing and decode to nothing.

enum class ChangeKind {
    Turn,      // AdjustParameter: a knob parameter moved by a delta
    SetValue,  // SetParameter: a knob parameter's word or a function's byte
    Other,     // a file, lock-out, GPI or effect request: logged with its arguments
};

struct RequestChange {
    ChangeKind kind = ChangeKind::Other;
    int number = -1;        // the parameter or function, for Turn and SetValue
    int value = 0;          // the delta of a Turn, the value of a SetValue
    std::string control;    // for Other: what the request does ("delete main file")
    std::string arguments;  // for Other: its arguments as the log writes them
};

std::optional<RequestChange> DecodeRequest(std::span<const uint8_t> payload);

// The value the answer's update list gives `number` (the list of a code 04 answer: a number
// below 0x80 and a word, or a number and a byte), if it holds one.
std::optional<int> UpdatedValue(std::span<const uint8_t> answerData, int number);
