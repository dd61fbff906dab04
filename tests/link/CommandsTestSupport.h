#pragma once

#include <cstdint>
#include <vector>

#include "tests/support/LinkFixture.h"

// Each empty read of the link lasts 20 ms; an answer sent this late arrives on read `n`.
constexpr uint32_t DelayForRead(uint32_t n) {
    return (n - 1) * 20 + 10;
}

// The link fixture with unit 1 selected.
class CommandsTest : public LinkFixture {
  protected:
    void SetUp() override {
        LinkFixture::SetUp();
        g_currentUnitAddress = 0x10;
    }

    const std::vector<uint8_t>& Request(size_t i) const { return peer.Requests().at(i); }
    size_t RequestCount() const { return peer.Requests().size(); }
};

// `count` bytes counting up from `first`.
inline std::vector<uint8_t> Ramp(size_t count, uint8_t first = 0) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<uint8_t>(first + i);
    }
    return bytes;
}
