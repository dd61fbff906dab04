#include "history/UndoHistory.h"

namespace {

bool ValidUnit(int unit) {
    return unit >= 1 && unit < kUnitSlots;
}

}  // namespace

void UndoHistory::Push(int unit, UndoStep step) {
    if (!ValidUnit(unit)) {
        return;
    }
    std::deque<UndoStep>& steps = m_steps[static_cast<size_t>(unit)];
    if (steps.size() >= kDepth) {
        steps.pop_front();
    }
    steps.push_back(std::move(step));
}

std::optional<UndoStep> UndoHistory::Take(int unit) {
    if (!ValidUnit(unit) || m_steps[static_cast<size_t>(unit)].empty()) {
        return std::nullopt;
    }
    std::deque<UndoStep>& steps = m_steps[static_cast<size_t>(unit)];
    UndoStep step = std::move(steps.back());
    steps.pop_back();
    return step;
}

size_t UndoHistory::Depth(int unit) const {
    return ValidUnit(unit) ? m_steps[static_cast<size_t>(unit)].size() : 0;
}
