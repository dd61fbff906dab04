#include "surface/SoftTakeover.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "surface/MidiMessage.h"

namespace {

// A knob this close to the value's position catches it without passing it.
constexpr int kCatchPositions = 1;
// A value that moved this far from a caught knob's position lets the knob go.
constexpr int kReleasePositions = 4;

}  // namespace

int PositionOf(const KnobState& knob) {
    const long long range = static_cast<long long>(knob.maximum) - knob.minimum;
    if (range <= 0) {
        return 0;
    }
    const long long offset =
        std::clamp<long long>(knob.value - static_cast<long long>(knob.minimum), 0, range);
    return static_cast<int>((offset * kMidiDataMaximum + range / 2) / range);
}

int ValueAt(const KnobState& knob, int position) {
    const long long range = std::max(0LL, static_cast<long long>(knob.maximum) - knob.minimum);
    const long long at = std::clamp(position, 0, kMidiDataMaximum);
    return static_cast<int>(knob.minimum + (at * range + kMidiDataMaximum / 2) / kMidiDataMaximum);
}

int SoftTakeover::Move(int position, const KnobState& knob) {
    // A value with no range (a time, a count) has no place for a pot to take it to.
    if (knob.maximum <= knob.minimum) {
        return 0;
    }
    position = std::clamp(position, 0, kMidiDataMaximum);
    const int previous = std::exchange(m_lastPosition, position);
    const int target = ValueAt(knob, position);
    if (m_caught) {
        return target - ValueAt(knob, previous);
    }
    const bool near = std::abs(position - PositionOf(knob)) <= kCatchPositions;
    const bool passed =
        previous >= 0 &&
        (static_cast<long long>(ValueAt(knob, previous) - knob.value) * (target - knob.value) <= 0);
    if (!near && !passed) {
        return 0;
    }
    m_caught = true;
    return target - knob.value;
}

void SoftTakeover::Follow(const KnobState& knob) {
    if (m_caught && std::abs(PositionOf(knob) - m_lastPosition) > kReleasePositions) {
        m_caught = false;
    }
}

void SoftTakeover::Release() {
    m_caught = false;
    m_lastPosition = -1;
}
