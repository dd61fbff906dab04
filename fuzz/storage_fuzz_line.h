#pragma once

// The storage fuzz targets' line: the link opened on an in-process line of its own, on a
// virtual clock, with a unit that answers each request with the next answer of the input.
// Header only, so each target is one file.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "fuzz/FuzzLink.h"
#include "link/StorageTables.h"
#include "model/PanelModel.h"
#include "platform/InProcessLine.h"

namespace storage_fuzz {

constexpr const char* kLineName = "storage-fuzz";
using fuzz_link::kUnitAddress;

// The answer that ends what the request asked for, once the input is used up, so every
// command comes to an end quickly.
inline uint8_t EndingCode(uint8_t command) {
    switch (command) {
        case 0xC6:
            return 0x44;
        case 0xC7:
            return 0x46;
        case 0xBD:
            return 0x4A;
        case 0xC8:
            return 0x48;
        case 0x8E:
            return 0x19;
        case 0xB3:
            return 0x5F;
        default:
            return 0x00;
    }
}

// Input: answers, each a length byte and that many raw bytes sent as they are.
class ScriptedUnit final : public LinePeer {
  public:
    explicit ScriptedUnit(std::span<const uint8_t> script) : m_script(script) {}

    void OnMasterByte(InProcessLine& line, uint8_t byte) override {
        m_request.push_back(byte);
        if (m_request.size() < 3 || m_request.size() < static_cast<size_t>(m_request[1]) + 3) {
            return;
        }
        const uint8_t command = m_request[2];
        m_request.clear();
        if (m_offset < m_script.size()) {
            const size_t length = m_script[m_offset++];
            const size_t taken = std::min(length, m_script.size() - m_offset);
            line.SendToMaster(std::vector<uint8_t>(m_script.begin() + m_offset,
                                                   m_script.begin() + m_offset + taken));
            m_offset += taken;
            return;
        }
        const uint8_t code = EndingCode(command);
        line.SendToMaster({kUnitAddress, 0x01, code, static_cast<uint8_t>(1 + code)});
    }

  private:
    std::span<const uint8_t> m_script;
    size_t m_offset = 0;
    std::vector<uint8_t> m_request;
};

// Opens the link on the scripted unit for one input and cleans up after it.
class ScriptedLine {
  public:
    explicit ScriptedLine(std::span<const uint8_t> script)
        : m_unit(script), m_link(kLineName, m_unit, ResetStorageTables) {}

  private:
    ScriptedUnit m_unit;
    fuzz_link::FuzzLink m_link;
};

}  // namespace storage_fuzz
