#pragma once

#include <cstdint>

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
    void SetLampBits(uint8_t* lampBits);

    // Polls the next unit unless it is `skipUnit` (the selected unit's number, 0 for none).
    // Returns 1 when a unit went on or off line, and always when `skipUnit` is kForceChange;
    // else 0.
    int Poll(uint8_t skipUnit);

    // The last status read from unit 1..4 (all zero until it answers, and again once it has
    // gone off line); a zero status for any other number.
    const UnitStatus& StatusOf(int unit) const;
    uint8_t MissCountOf(int unit) const;
    uint8_t PollIndex() const { return m_pollIndex; }

  private:
    static constexpr int kUnits = 4;
    static constexpr uint8_t kOnLineBit = 0x01;

    uint8_t m_unitAddress[kUnitSlots];
    uint8_t m_missCount[kUnitSlots];
    uint8_t m_pollIndex;
    UnitStatus m_unitStatus[kUnitSlots];
    uint8_t* m_lampBits;
    // Used until the panel hands over its lamp bytes, so a poll never writes through null.
    uint8_t m_ownLampBits[kUnitSlots];
};
