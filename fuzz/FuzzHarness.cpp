#include "fuzz/FuzzHarness.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <vector>

#include "fuzz/FuzzLink.h"
#include "link/LockoutCommands.h"
#include "link/SerialCom.h"
#include "link/UnitCommands.h"
#include "model/PanelModel.h"
#include "platform/Clock.h"
#include "platform/InProcessLine.h"
#include "platform/PortNames.h"
#include "platform/Prompter.h"
#include "unit/MenuImageParser.h"

namespace {

using fuzz_link::AnsweringPeer;
using fuzz_link::FuzzLink;
using fuzz_link::kUnitAddress;
using fuzz_link::UnitPeer;

constexpr const char* kLineName = "fuzz";
constexpr uint8_t kModels[] = {4, 5, 7, 9, 11, 80, 81, 177};

// Hands out the scripted answers in order.
class ScriptPeer final : public AnsweringPeer {
  public:
    explicit ScriptPeer(std::span<const uint8_t> script) : m_script(script) {}

  private:
    void Answer(InProcessLine& line, const std::vector<uint8_t>&) override {
        if (m_position >= m_script.size()) {
            line.SendToMaster({kUnitAddress, 0x01, 0x42, 0x43});
            return;
        }
        // Each answer: a big-endian length word, then that many raw bytes.
        const size_t high = m_script[m_position];
        const size_t low = m_position + 1 < m_script.size() ? m_script[m_position + 1] : 0;
        const size_t start = std::min(m_position + 2, m_script.size());
        const size_t count = std::min(high << 8 | low, m_script.size() - start);
        const auto first = m_script.begin() + static_cast<std::ptrdiff_t>(start);
        line.SendToMaster(std::vector<uint8_t>(first, first + static_cast<std::ptrdiff_t>(count)));
        m_position = start + count;
    }

    std::span<const uint8_t> m_script;
    size_t m_position = 0;
};

bool TablesIntact() {
    // The empty knob position and the keyframe functions are never written from unit data.
    return g_paramTable[kEmptyKnobParam].number == 0 &&
           g_paramTable[kEmptyKnobParam].name.empty() &&
           g_functionTable[128].label == "Insert\r\nKeyframe" &&
           g_functionTable[131].label == "Velocity\r\nBreak" && g_functionTable[130].value == 0;
}

}  // namespace

bool FuzzMenuImage(const uint8_t* data, size_t size, const std::function<void()>& inspect) {
    const uint8_t control = size > 0 ? data[0] : 0;
    const uint8_t model = kModels[control % std::size(kModels)];
    UnitPeer peer(model, (control & 0x80) == 0);
    FuzzLink session(kLineName, peer, ResetOnAirLockTables);
    g_unitStatus[kStatusByteModel] = model;
    auto& block = g_panelModel.MenuImage(1);
    if (size > 1) {
        std::copy_n(data + 1, std::min(size - 1, block.size()), block.begin());
    }
    ParseMenuImage(1);
    if (inspect) {
        inspect();
    }
    return TablesIntact();
}

bool FuzzAnswers(const uint8_t* data, size_t size) {
    ScriptPeer peer(std::span<const uint8_t>(data, size));
    FuzzLink session(kLineName, peer, ResetOnAirLockTables);
    SetKeyframeFunctions();

    AnswerBuffer direct{};
    std::copy_n(data, std::min(size, direct.size()), direct.begin());
    ApplyParameterUpdates(direct);

    std::string label;
    std::array<uint8_t, kVersionInfoSize> version{};
    std::vector<uint8_t> menuData(4096);
    // What the answers leave in the tables counts here, not the commands' results.
    const Status results[] = {ReadParameterValues(),    ReadReferenceValues(),
                              AdjustParameter(5, -3),   SetParameterWord(114, 300),
                              SetParameterByte(214, 1), ReadSettingsLabel(label),
                              ReadUnitMessage(),        ReadVersionInfo(version),
                              ReadOnAirLockout(),       ReadMenuData(menuData)};
    static_cast<void>(results);
    return TablesIntact();
}
