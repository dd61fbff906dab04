#pragma once

#include <optional>
#include <string>

#include "surface/Mapping.h"

// Learns which control of a surface a panel control answers to, from the user's own moves.
// A button: its first press. A knob: one detent right, then one left, on the same control;
// the two values tell the encoding, and two positions that tell no encoding (the second
// below the first) make an absolute knob. A learned knob's ring is the same control change,
// out.
class Learner {
  public:
    explicit Learner(PanelControl target) : m_target(std::move(target)) {}

    // Feeds one message from the surface. True once the control is learned; messages of
    // other controls before the second detent are ignored.
    bool Feed(const MidiBytes& bytes);
    // What the user is to do next, in the settings' words.
    std::string Prompt() const;

    const PanelControl& Target() const { return m_target; }
    // Valid once Feed returned true.
    const KnobBinding& LearnedKnob() const { return m_knob; }
    const MidiControl& LearnedControl() const { return m_knob.control; }
    // Binds what was learned into `mapping`.
    void ApplyTo(Mapping& mapping) const;

  private:
    PanelControl m_target;
    std::optional<MidiEvent> m_right;  // the knob's first message
    KnobBinding m_knob;
    bool m_done = false;
};

// The encoding under which `right` is one detent right and `left` one detent left (or a few,
// for a knob turned fast); Absolute when no encoding reads them so.
Encoding EncodingFromDetents(int right, int left);
