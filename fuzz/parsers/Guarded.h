#pragma once

#include <cstdint>

// A buffer a parser writes, with a marker byte right behind it: a write past the buffer
// changes the marker, even where the sanitizer sees one object and stays quiet.
template <typename Buffer>
struct Guarded {
    static constexpr uint8_t kMarker = 0xA5;

    Buffer buffer{};
    uint8_t marker = kMarker;

    bool Intact() const { return marker == kMarker; }
};
