#pragma once

#include <map>
#include <vector>

#include "actions/PanelState.h"
#include "surface/Mapping.h"

// What a surface shows of the panel: each encoder's ring the place of its knob's value in
// its range (dark on a knob bound to nothing), each button's LED its panel control's lamp.
// Only what changed since the last message goes out, so a poll that changes nothing sends
// nothing.
class SurfaceFeedback {
  public:
    // The messages that bring the surface to `state` under `mapping`.
    std::vector<MidiBytes> Update(const Mapping& mapping, const PanelState& state);
    // The surface shows nothing known (just connected, or another mapping): the next update
    // sends every ring and lamp.
    void Forget() { m_shown.clear(); }

  private:
    void Show(const MidiControl& control, int value, std::vector<MidiBytes>& messages);

    std::map<MidiControl, int> m_shown;
};

// The ring value that shows `knob` in `ring`'s style.
int RingValue(const RingBinding& ring, const KnobState& knob);
// Whether the panel lights the control a button is bound to.
bool LampLit(const PanelControl& target, const PanelState& state);
