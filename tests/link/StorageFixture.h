#pragma once

#include <string>
#include <vector>

#include "link/StorageTables.h"
#include "tests/support/LinkFixture.h"

// The link on a scripted peer with fresh storage tables and unit 1 selected.
class StorageFixture : public LinkFixture {
  protected:
    using Bytes = std::vector<uint8_t>;
    static constexpr uint8_t kUnit1 = 0x10;

    void SetUp() override {
        LinkFixture::SetUp();
        ResetStorageTables();
        g_currentUnitAddress = kUnit1;
    }
    void TearDown() override {
        ResetStorageTables();
        LinkFixture::TearDown();
    }

    // The payload (command byte on) of every request the unit saw.
    std::vector<Bytes> Payloads() const {
        std::vector<Bytes> payloads;
        for (const Bytes& request : peer.Requests()) {
            payloads.emplace_back(request.begin() + 2, request.end() - 1);
        }
        return payloads;
    }
    // The address byte of request `i`.
    uint8_t AddressOf(size_t i) const { return peer.Requests().at(i).at(0); }

    void Answer(uint8_t code, const Bytes& data = {}) { peer.AnswerPacket(0x10, code, data); }

    // A list sent as `parts` answers of `more`, then one `last` answer with the rest.
    void AnswerList(uint8_t more, uint8_t last, const Bytes& list, size_t partSize = 224) {
        Answer(0x00);
        size_t offset = 0;
        while (list.size() - offset > partSize) {
            Answer(more, Bytes(list.begin() + offset, list.begin() + offset + partSize));
            offset += partSize;
        }
        Answer(last, Bytes(list.begin() + offset, list.end()));
    }
};

// One 28-byte list entry on the wire.
inline std::vector<uint8_t> WireEntry(uint16_t first, uint16_t second, const std::string& name) {
    std::vector<uint8_t> entry{static_cast<uint8_t>(first >> 8), static_cast<uint8_t>(first),
                               static_cast<uint8_t>(second >> 8), static_cast<uint8_t>(second)};
    for (int i = 0; i < kNameBytes; ++i) {
        entry.push_back(i < static_cast<int>(name.size()) ? static_cast<uint8_t>(name[i]) : 0);
    }
    return entry;
}

// `count` entries numbered from 1, named "F1", "F2", ...
inline std::vector<uint8_t> WireEntries(int count) {
    std::vector<uint8_t> list;
    for (int i = 1; i <= count; ++i) {
        const auto entry = WireEntry(static_cast<uint16_t>(i), static_cast<uint16_t>(100 + i),
                                     "F" + std::to_string(i));
        list.insert(list.end(), entry.begin(), entry.end());
    }
    return list;
}
