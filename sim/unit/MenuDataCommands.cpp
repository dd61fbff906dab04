// Transfer of the menu image: a prepare, then chunks until the last one.
#include "sim/unit/UnitCommands.h"

#include <algorithm>

#include "protocol/AnswerCodes.h"

namespace {

constexpr uint8_t kMoreMenuData = 0x41;

std::optional<SimAnswer> Prepare(SimUnit& unit, const SimRequest&) {
    unit.PrepareMenuRead();
    return SimAnswer{kCodeMenuDataReady, {}};
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
        answer.code = kCodeMenuDataLast;
    }
    return answer;
}

}  // namespace

void RegisterMenuDataCommands(CommandTable& table) {
    table.Register(Command::PrepareMenuData, Prepare);
    table.Register(Command::ReadMenuData, ReadChunk);
}
