#pragma once

#include "actions/PanelState.h"

// An absolute knob of a surface (a pot with end stops) against the value it controls. The
// knob's position is rarely where the value is, after another menu or the unit's own change;
// jumping the value to the knob would be a visible step on air. So the knob does nothing
// until it reaches the value or passes it, and from then on moves it by its own movement.

// A value's place in its knob's range as a surface position, 0..127 (0 for an empty range).
int PositionOf(const KnobState& knob);
// The value at surface position `position` of the knob's range.
int ValueAt(const KnobState& knob, int position);

class SoftTakeover {
  public:
    // The knob moved to `position` (0..127) while it controls `knob`. Returns the knob steps to
    // turn: 0 until the knob has caught the value, then the distance the knob moved; always 0
    // on an empty range.
    int Move(int position, const KnobState& knob);
    // The value moved without the knob (the unit's own change, another source): a value far
    // from the knob must be caught again.
    void Follow(const KnobState& knob);
    // The knob controls another value now.
    void Release();
    bool Caught() const { return m_caught; }

  private:
    bool m_caught = false;
    int m_lastPosition = -1;  // -1 until the knob has moved
};
