#pragma once

#include <optional>
#include <string_view>

// How a knob of a surface tells its turns. An absolute knob sends its position, 0..127; an
// endless encoder sends detents since its last message, signed, in one of four encodings
// (right and left of one detent):
//   two's complement  01 / 7F
//   binary offset     41 / 3F
//   sign bit          01 / 41 (bit 6 set turns left; the V-Pots of a Mackie-style surface)
//   sign bit inverted 41 / 01 (bit 6 set turns right)
enum class Encoding { Absolute, TwosComplement, BinaryOffset, SignBit, SignBitInverted };

// The detents one message of value `value` (0..127) carries, right positive; 0 for an
// absolute knob.
int RelativeDetents(Encoding encoding, int value);

// Knob steps for `detents` in one message. A surface sends more than one detent when the
// knob spins fast, so those accelerate: one detent is one step, n detents n * n steps.
int AcceleratedSteps(int detents);

// The name a mapping file gives the encoding ("absolute", "twos-complement",
// "binary-offset", "sign-bit", "sign-bit-inverted"), and back.
std::string_view EncodingName(Encoding encoding);
std::optional<Encoding> EncodingNamed(std::string_view name);
