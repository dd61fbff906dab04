#include "surface/Encoding.h"

#include <array>
#include <cstdlib>
#include <utility>

namespace {

constexpr int kOffsetZero = 0x40;  // binary offset's standstill; two's complement's sign bit
constexpr int kSignBit = 0x40;
constexpr int kMagnitudeMask = 0x3F;
constexpr int kDataRange = 0x80;

constexpr std::array<std::pair<Encoding, std::string_view>, 5> kNames{{
    {Encoding::Absolute, "absolute"},
    {Encoding::TwosComplement, "twos-complement"},
    {Encoding::BinaryOffset, "binary-offset"},
    {Encoding::SignBit, "sign-bit"},
    {Encoding::SignBitInverted, "sign-bit-inverted"},
}};

}  // namespace

int RelativeDetents(Encoding encoding, int value) {
    value &= kDataRange - 1;
    const int magnitude = value & kMagnitudeMask;
    const bool signSet = (value & kSignBit) != 0;
    switch (encoding) {
        case Encoding::TwosComplement:
            return value < kOffsetZero ? value : value - kDataRange;
        case Encoding::BinaryOffset:
            return value - kOffsetZero;
        case Encoding::SignBit:
            return signSet ? -magnitude : magnitude;
        case Encoding::SignBitInverted:
            return signSet ? magnitude : -magnitude;
        case Encoding::Absolute:
            break;
    }
    return 0;
}

int AcceleratedSteps(int detents) {
    return detents * std::abs(detents);
}

std::string_view EncodingName(Encoding encoding) {
    for (const auto& [each, name] : kNames) {
        if (each == encoding) {
            return name;
        }
    }
    return {};
}

std::optional<Encoding> EncodingNamed(std::string_view name) {
    for (const auto& [each, eachName] : kNames) {
        if (eachName == name) {
            return each;
        }
    }
    return std::nullopt;
}
