#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "model/PanelModel.h"

// The values before the last changes of each unit, for undo: the last kDepth changes of a
// parameter or function whose old value is known, newest last. A step holds for the unit's
// model and menu image of its change alone: the same number means another thing in another.
struct UndoStep {
    int number = 0;
    int oldValue = 0;
    std::string name;
    int model = 0;
    uint64_t menuImageHash = 0;
};

class UndoHistory {
  public:
    static constexpr size_t kDepth = 50;

    void Push(int unit, UndoStep step);
    // The newest step of `unit`, taken off the history; empty when there is none.
    std::optional<UndoStep> Take(int unit);
    size_t Depth(int unit) const;

  private:
    std::array<std::deque<UndoStep>, kUnitSlots> m_steps;
};
