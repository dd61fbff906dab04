#include "surface/SurfaceInput.h"

namespace {

// The same value under the same name: the knob still controls what it did.
bool SameBinding(const KnobState& a, const KnobState& b) {
    return a.bound == b.bound && a.parameter == b.parameter && a.name == b.name &&
           a.minimum == b.minimum && a.maximum == b.maximum;
}

ActionOutcome Press(const PanelControl& target, ControlActions& actions,
                    const ActionOrigin& origin) {
    switch (target.kind) {
        case PanelControl::Kind::MenuButton:
            return actions.PressMenuButton(target.index, origin);
        case PanelControl::Kind::FunctionButton:
            return actions.PressFunctionButton(target.index, origin);
        case PanelControl::Kind::Toggle:
            return actions.PressToggle(target.label, origin);
        case PanelControl::Kind::Knob:
            break;
    }
    return ActionOutcome::Taken();
}

}  // namespace

ActionOutcome SurfaceInput::Handle(const MidiBytes& bytes, const PanelState& state,
                                   ControlActions& actions, const ActionOrigin& origin) {
    const std::optional<MidiEvent> event = ParseMidi(bytes);
    if (!event) {
        return ActionOutcome::Taken();
    }
    const std::optional<PanelControl> target = BoundTo(m_mapping, event->control);
    if (!target) {
        return ActionOutcome::Taken();
    }
    if (target->kind == PanelControl::Kind::Knob) {
        return TurnKnob(target->index, event->value, state, actions, origin);
    }
    if (event->value == 0) {
        return ActionOutcome::Taken();
    }
    return Press(*target, actions, origin);
}

ActionOutcome SurfaceInput::TurnKnob(int knob, int value, const PanelState& state,
                                     ControlActions& actions, const ActionOrigin& origin) {
    const KnobBinding& binding = *m_mapping.knobs[knob];
    const KnobState& shown = state.knobs[knob];
    int steps = 0;
    if (binding.encoding == Encoding::Absolute) {
        Follow(state);
        if (!shown.bound) {
            return ActionOutcome::Taken();
        }
        steps = m_takeover[knob].Move(value, shown);
    } else {
        steps = AcceleratedSteps(RelativeDetents(binding.encoding, value));
    }
    // A knob still looking for its value, or a message of no detents, turns nothing.
    if (steps == 0) {
        return ActionOutcome::Taken();
    }
    return actions.TurnKnob(knob, steps, origin);
}

void SurfaceInput::Follow(const PanelState& state) {
    for (int knob = 0; knob < kActionKnobs; ++knob) {
        if (!SameBinding(m_followed[knob], state.knobs[knob])) {
            m_takeover[knob].Release();
        } else if (m_followed[knob].value != state.knobs[knob].value) {
            m_takeover[knob].Follow(state.knobs[knob]);
        }
        m_followed[knob] = state.knobs[knob];
    }
}
