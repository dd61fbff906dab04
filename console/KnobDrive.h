#pragma once

#include "model/KnobGauge.h"
#include "model/PanelModel.h"

// The knob's delta for a deflection of `deflection` positions off its rest: its square,
// with its sign.
int SquaredDelta(int deflection);

// How a turn reaches a knob: a held knob's 20 ms tick, or whole steps (a key, a surface's
// detents, a client's turn).
enum class KnobTurn { Drag, Steps };

// What turning a knob does to the record its display shows. An ordinary parameter goes to
// the unit as an adjustment (the value follows with the unit's update list); a coarse one
// builds single steps from a drag's ticks and takes whole steps at once; a time code is
// edited on the panel; a stepped parameter moves on the panel and is sent on a
// double-click.
class KnobDrive {
  public:
    enum class Effect {
        None,     // nothing changed
        Stepped,  // the record moved on the panel: its display redraws
        Turned,   // the unit was asked, or a time code moved: the knobs bind anew
    };

    // The amount a drag's tick at `deflection` turns `record` by.
    static int DragAmount(const ParamRecord& record, int deflection);
    // Turns `record` by `amount` (held to 16 bits).
    Effect Turn(ParamRecord& record, int amount, KnobTurn kind);
    // What a coarse parameter's ticks have built up so far.
    int StepAccumulator() const { return m_accumulator.Sum(); }

  private:
    CoarseAccumulator m_accumulator;
};
