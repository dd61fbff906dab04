#pragma once

#include <cstdint>
#include <span>

#include "model/PanelModel.h"

// The presence poll of the units on the line. Each call identifies one unit, in turn over
// units 1..4, skipping the unit the panel has selected (the panel polls that one itself). A
// unit is on line from its first answer until five polls in a row go unanswered; its on-line
// state is bit 0 of the panel's lamp byte of that unit.
class CPollHandler {
  public:
    // Skip value that polls the next unit whatever is selected and always reports a change.
    static constexpr uint8_t kForceChange = 0xFF;
    static constexpr uint8_t kMissesUntilOffLine = 5;

    CPollHandler();
    virtual ~CPollHandler();

    // Points the handler at the panel's five lamp bytes; set before the first Poll.
    void SetLampBits(std::span<uint8_t, kUnitSlots> lampBits);

    // Polls the next unit unless it is `skipUnit` (the selected unit's number, 0 for none).
    // True when a unit went on or off line, and always when `skipUnit` is kForceChange. A
    // poll that gave the line up to the user counts as no miss; Yielded() tells.
    [[nodiscard]] bool Poll(uint8_t skipUnit);
    // Whether the last Poll gave the line up before its unit answered.
    bool Yielded() const { return m_yielded; }

    // The last status read from unit 1..4 (all zero until it answers, and again once it has
    // gone off line); a zero status for any other number.
    const UnitStatus& StatusOf(int unit) const;
    uint8_t MissCountOf(int unit) const;
    uint8_t PollIndex() const { return m_pollIndex; }

  private:
    static constexpr int kUnits = 4;

    uint8_t m_unitAddress[kUnitSlots];
    uint8_t m_missCount[kUnitSlots];
    uint8_t m_pollIndex;
    bool m_yielded = false;
    UnitStatus m_unitStatus[kUnitSlots];
    // Used until the panel hands over its lamp bytes.
    uint8_t m_ownLampBits[kUnitSlots];
    std::span<uint8_t, kUnitSlots> m_lampBits;
};
