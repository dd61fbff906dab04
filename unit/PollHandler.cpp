#include "unit/PollHandler.h"

#include "link/UnitCommands.h"

CPollHandler::CPollHandler()
    : m_unitAddress{0, AddressOfUnit(1), AddressOfUnit(2), AddressOfUnit(3), AddressOfUnit(4)},
      m_missCount{},
      m_pollIndex(0),
      m_unitStatus{},
      m_ownLampBits{},
      m_lampBits(m_ownLampBits) {}

CPollHandler::~CPollHandler() = default;

void CPollHandler::SetLampBits(std::span<uint8_t, kUnitSlots> lampBits) {
    m_lampBits = lampBits;
}

bool CPollHandler::Poll(uint8_t skipUnit) {
    m_yielded = false;
    m_pollIndex = m_pollIndex >= kUnits ? 1 : m_pollIndex + 1;
    if (m_pollIndex == skipUnit) {
        return false;
    }
    const int unit = m_pollIndex;
    const bool forced = skipUnit == kForceChange;

    UnitStatus status{};
    const Status result = IdentifyUnit(m_unitAddress[unit], status, LineUse::YieldsToUser);
    if (result == Status::Yielded) {
        m_yielded = true;
        return forced;
    }
    const bool answered = result == Status::Ok;
    if (!answered) {
        // Saturates: a unit gone for hours must not come back on line by wrap-around.
        if (m_missCount[unit] < UINT8_MAX) {
            ++m_missCount[unit];
        }
        if (m_missCount[unit] < kMissesUntilOffLine) {
            return forced;
        }
    }
    m_unitStatus[unit] = status;

    uint8_t& lamp = m_lampBits[static_cast<size_t>(unit)];
    bool changed = false;
    if (answered) {
        m_missCount[unit] = 0;
        if ((lamp & kOnLineBit) == 0) {
            lamp |= kOnLineBit;
            changed = true;
        }
    } else if ((lamp & kOnLineBit) != 0) {
        lamp &= static_cast<uint8_t>(~kOnLineBit);
        changed = true;
    }
    return forced || changed;
}

const UnitStatus& CPollHandler::StatusOf(int unit) const {
    static const UnitStatus kNoUnit{};
    return unit >= 1 && unit <= kUnits ? m_unitStatus[unit] : kNoUnit;
}

uint8_t CPollHandler::MissCountOf(int unit) const {
    return unit >= 1 && unit <= kUnits ? m_missCount[unit] : 0;
}
