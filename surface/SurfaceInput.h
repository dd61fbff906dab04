#pragma once

#include <array>

#include "actions/ControlActions.h"
#include "actions/PanelState.h"
#include "surface/Mapping.h"
#include "surface/SoftTakeover.h"

// A surface's messages as the panel's actions, through its mapping. An encoder's message
// turns its knob by the steps it carries (accelerated); the panel sums turns that meet while
// the line is busy, so a fast spin goes as one adjustment per exchange. An absolute knob turns
// its knob once it has caught the value (soft take-over). A press of a button (a note on, or a
// control change above 0) presses its panel control; the release does nothing.
class SurfaceInput {
  public:
    explicit SurfaceInput(Mapping mapping) : m_mapping(std::move(mapping)) {}

    // Acts on one message from the surface. A message bound to nothing, a release and a
    // malformed message are ignored (taken); otherwise the action's outcome.
    ActionOutcome Handle(const MidiBytes& bytes, const PanelState& state, ControlActions& actions,
                         const ActionOrigin& origin);
    // The panel's state changed: knobs bound to another value wait to be caught again.
    void Follow(const PanelState& state);

    const Mapping& CurrentMapping() const { return m_mapping; }

  private:
    ActionOutcome TurnKnob(int knob, int value, const PanelState& state, ControlActions& actions,
                           const ActionOrigin& origin);

    Mapping m_mapping;
    std::array<SoftTakeover, kActionKnobs> m_takeover{};
    std::array<KnobState, kActionKnobs> m_followed{};
};
