#pragma once

#include <array>
#include <cstdint>

#include "model/PanelModel.h"

// The answers units still owe. An exchange that gave the line up to the user after its
// request left may still be answered, late; that answer must not pass for the next
// exchange's. A unit owes one answer at most, until the patience of its request has run out.
// Used on the line's thread only.
class OwedAnswers {
  public:
    // Unit 1..4 owes an answer until the tick `deadline_ms`; `identify` when the request was
    // an identify.
    void Note(int unit, uint32_t deadline_ms, bool identify);
    // Whether the unit still owes one now; how long it may still take to start (0 when not).
    bool Owes(int unit) const { return Left_ms(unit) > 0; }
    uint32_t Left_ms(int unit) const;
    // Whether the answer the unit owes now is an identify's.
    bool OwesIdentify(int unit) const;
    // The unit's answer came, or was thrown away with the line's noise.
    void Settle(int unit);
    void Clear() { m_owed = {}; }

  private:
    struct Debt {
        bool owed = false;
        uint32_t deadline_ms = 0;
        bool identify = false;
    };
    std::array<Debt, kUnitSlots> m_owed{};
};
