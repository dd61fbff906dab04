#pragma once

#include <optional>
#include <string>
#include <vector>

#include "surface/Mapping.h"

// Learns which control of a surface a panel control answers to, from the user's own moves.
// A button: its first press. A knob: one detent right, then one left, on the same control;
// the two values tell the encoding, and two positions that tell no encoding (the second
// below the first) make an absolute knob. Binary offset's two values (41, 3F) are also what
// a pot near mid-travel sends, so that encoding takes a second right and left that agree;
// a pot's next position (40 after 3F) does not. A learned knob's ring is the same control
// change, out.
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
    void FeedKnob(const MidiEvent& event);
    void Learn(const MidiControl& control, Encoding encoding);

    PanelControl m_target;
    std::optional<MidiControl> m_turned;  // the knob being learned
    std::vector<int> m_values;            // its messages, each a turn the other way
    KnobBinding m_knob;
    bool m_done = false;
};

// The encoding under which `right` is one detent right and `left` one detent left (or a few,
// for a knob turned fast); Absolute when no encoding reads them so.
Encoding EncodingFromDetents(int right, int left);
