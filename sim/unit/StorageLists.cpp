#include "sim/unit/StorageLists.h"

#include <utility>

namespace {

constexpr uint8_t kListStarted = 0x00;

}  // namespace

SimAnswer StartList(UnitStorage& storage, SimList list, std::vector<uint8_t> bytes) {
    storage.List(list).Prepare(std::move(bytes));
    return SimAnswer{kListStarted, {}};
}

std::optional<SimAnswer> NextListPart(SimUnit& unit, SimList list, uint8_t more, uint8_t last) {
    FaultSet& faults = unit.Faults();
    std::optional<uint32_t> silentAfter;
    if (faults.Active(FaultKind::SilentMidList)) {
        silentAfter = faults.Argument(FaultKind::SilentMidList);
    }
    const bool endless =
        faults.Active(FaultKind::Oversized) || faults.Active(FaultKind::EndlessList);
    std::optional<SimAnswer> answer =
        unit.Storage().List(list).Next(more, last, endless, silentAfter);
    if (!answer) {
        faults.Use(FaultKind::SilentMidList);
    }
    return answer;
}
