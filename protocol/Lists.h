#pragma once

#include <cstdint>

// Lists a unit sends over several answers: the two file directories, a file's data, the GPI
// list and the effect list. The first request is answered with L = 1 and kCodeListStart;
// then the follow-up request is repeated, each answer carrying the next part of the list and
// the list's "more" or "last" code.

constexpr uint8_t kCodeListStart = 0x00;
constexpr int kListStartLength = 1;

// The answer codes of one kind of list.
struct ListCodes {
    uint8_t more;
    uint8_t last;
};

constexpr ListCodes kMainDirectoryCodes{0x43, 0x44};
constexpr ListCodes kUserDirectoryCodes{0x45, 0x46};
constexpr ListCodes kFileDataCodes{0x18, 0x19};
constexpr ListCodes kGpiListCodes{0x49, 0x4A};
constexpr ListCodes kEffectListCodes{0x47, 0x48};

// An entry of a directory, the GPI list or the effect list: two big-endian 16-bit numbers
// and a name field.
constexpr int kWireEntrySize = 28;
constexpr int kNameBytes = 24;      // a name field, zero-padded
constexpr int kMaxNameLength = 23;  // characters a name may hold before its terminator
