#include "unit/PollHandler.h"

#include "link/UnitCommands.h"

CPollHandler::CPollHandler()
    : m_unitAddress{0x00, 0x10, 0x20, 0x30, 0x40},
      m_missCount{},
      m_pollIndex(0),
      m_unitStatus{},
      m_lampBits(m_ownLampBits),
      m_ownLampBits{} {}

CPollHandler::~CPollHandler() = default;

void CPollHandler::SetLampBits(uint8_t* lampBits) {
    m_lampBits = lampBits != nullptr ? lampBits : m_ownLampBits;
}

int CPollHandler::Poll(uint8_t skipUnit) {
    m_pollIndex = m_pollIndex >= kUnits ? 1 : m_pollIndex + 1;
    if (m_pollIndex == skipUnit) {
        return 0;
    }
    const int unit = m_pollIndex;
    const int forced = skipUnit == kForceChange ? 1 : 0;

    UnitStatus status{};
    const bool answered = IdentifyUnit(m_unitAddress[unit], status) == kStatusOk;
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

    uint8_t& lamp = m_lampBits[unit];
    int changed = 0;
    if (answered) {
        m_missCount[unit] = 0;
        if ((lamp & kOnLineBit) == 0) {
            lamp |= kOnLineBit;
            changed = 1;
        }
    } else if ((lamp & kOnLineBit) != 0) {
        lamp &= static_cast<uint8_t>(~kOnLineBit);
        changed = 1;
    }
    return forced != 0 ? 1 : changed;
}

const UnitStatus& CPollHandler::StatusOf(int unit) const {
    static const UnitStatus kNoUnit{};
    return unit >= 1 && unit <= kUnits ? m_unitStatus[unit] : kNoUnit;
}

uint8_t CPollHandler::MissCountOf(int unit) const {
    return unit >= 1 && unit <= kUnits ? m_missCount[unit] : 0;
}
