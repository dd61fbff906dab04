#pragma once

#include <cstdint>
#include <span>

// The record walk of a menu image: parameter, function, menu and message records into
// g_paramTable, g_functionTable, g_menuTable and g_messageTable, with the five sections
// between menus and messages stepped over.
//
// Image layout (big-endian words; every record starts with its length in words, the length
// word included):
//   0..3  header, not read
//   4     NP, then NP parameter records
//         NF, then NF function records (the last one is only stepped over)
//         NM, then NM menu records
//         five sections: a word whose low byte counts records, each stepped over by the low
//         byte of its length word
//         a word whose low byte counts the message records, each located likewise
// A parameter, function or menu record ends at its start + 2 x length, or where its body
// ended if that is further. Records whose number lies outside their table are stepped over.

enum class MenuImageWalk {
    Complete,   // every section was read
    Truncated,  // a record ran past the block: parsing stopped there, nothing past it stored
};

// Walks the image in `block`, storing every complete record with a number inside its table.
// Menu records carry `menuEntryCount` entry words (12 or 20; clamped to the table's 20).
// Touches no record the image does not define.
MenuImageWalk WalkMenuImage(std::span<const uint8_t> block, int menuEntryCount);
