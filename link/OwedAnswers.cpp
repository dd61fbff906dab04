#include "link/OwedAnswers.h"

#include "platform/Clock.h"

void OwedAnswers::Note(int unit, uint32_t deadline_ms, bool identify) {
    if (unit > 0 && unit < kUnitSlots) {
        m_owed[static_cast<size_t>(unit)] = {true, deadline_ms, identify};
    }
}

bool OwedAnswers::OwesIdentify(int unit) const {
    return Owes(unit) && m_owed[static_cast<size_t>(unit)].identify;
}

uint32_t OwedAnswers::Left_ms(int unit) const {
    if (unit <= 0 || unit >= kUnitSlots || !m_owed[static_cast<size_t>(unit)].owed) {
        return 0;
    }
    // Counted modulo 2^32, as every tick: a deadline passed reads as negative.
    const auto left = static_cast<int32_t>(m_owed[static_cast<size_t>(unit)].deadline_ms -
                                           CurrentClock().TickCount());
    return left > 0 ? static_cast<uint32_t>(left) : 0;
}

void OwedAnswers::Settle(int unit) {
    if (unit > 0 && unit < kUnitSlots) {
        m_owed[static_cast<size_t>(unit)] = {};
    }
}
