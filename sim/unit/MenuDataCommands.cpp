// Transfer of the menu image: a prepare, then chunks until the last one.
#include "sim/unit/UnitCommands.h"

#include <algorithm>

namespace {

constexpr uint8_t kPrepareMenuData = 0xC5;
constexpr uint8_t kReadMenuData = 0xC1;
constexpr uint8_t kPrepared = 0x00;
constexpr uint8_t kMoreMenuData = 0x41;
constexpr uint8_t kLastMenuData = 0x42;

std::optional<SimAnswer> Prepare(SimUnit& unit, const SimRequest&) {
    unit.PrepareMenuRead();
    return SimAnswer{kPrepared, {}};
}

std::optional<SimAnswer> ReadChunk(SimUnit& unit, const SimRequest&) {
    const std::vector<uint8_t>& image = unit.MenuImage();
    // An oversized unit never says "last" and keeps sending full chunks of its image.
    const bool endless = unit.Faults().Active(FaultKind::Oversized);
    if (endless && unit.MenuReadOffset() >= image.size()) {
        unit.PrepareMenuRead();
    }
    const size_t offset = std::min(unit.MenuReadOffset(), image.size());
    const size_t size = std::min(kMaxAnswerData, image.size() - offset);
    SimAnswer answer{
        kMoreMenuData,
        std::vector<uint8_t>(image.begin() + static_cast<std::ptrdiff_t>(offset),
                             image.begin() + static_cast<std::ptrdiff_t>(offset + size))};
    unit.AdvanceMenuRead(size);
    if (!endless && offset + size >= image.size()) {
        answer.code = kLastMenuData;
    }
    return answer;
}

}  // namespace

void RegisterMenuDataCommands(CommandTable& table) {
    table.Register(kPrepareMenuData, Prepare);
    table.Register(kReadMenuData, ReadChunk);
}
