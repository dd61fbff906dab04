#include "console/KnobDrive.h"

#include <algorithm>
#include <limits>

#include "link/ParameterCommands.h"

namespace {

constexpr int kMost16 = std::numeric_limits<int16_t>::max();
constexpr int kLeast16 = std::numeric_limits<int16_t>::min();

}  // namespace

int SquaredDelta(int deflection) {
    return deflection < 0 ? -deflection * deflection : deflection * deflection;
}

// A stepped parameter moves one step per tick at any deflection.
int KnobDrive::DragAmount(const ParamRecord& record, int deflection) {
    if (record.flags & kFlagStepped) {
        return (deflection > 0) - (deflection < 0);
    }
    return SquaredDelta(deflection);
}

KnobDrive::Effect KnobDrive::Turn(ParamRecord& record, int amount, KnobTurn kind) {
    amount = std::clamp(amount, kLeast16, kMost16);
    if (amount == 0) {
        return Effect::None;
    }
    if (record.flags & kFlagStepped) {
        // Held to its raw range: a long turn stops at the end, it never wraps round.
        const int value = std::min<int>(record.value + amount, record.rawMax);
        record.value = static_cast<int16_t>(std::max<int>(value, record.rawMin));
        return Effect::Stepped;
    }
    if (record.flags & kFlagTimecode) {
        // Saturates rather than wrapping to zero.
        record.value = static_cast<int16_t>(std::clamp(record.value + amount, 0, kMost16));
        return Effect::Turned;
    }
    int step = amount;
    if ((record.flags & kFlagCoarse) && kind == KnobTurn::Drag) {
        step = m_accumulator.Add(amount);
        if (step == 0) {
            return Effect::Turned;
        }
    }
    // A lost answer leaves the value where it was.
    static_cast<void>(
        AdjustParameter(static_cast<uint8_t>(record.number & 0xFF), static_cast<int16_t>(step)));
    return Effect::Turned;
}
