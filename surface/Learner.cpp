#include "surface/Learner.h"

#include <array>

namespace {

// A learning turn of more detents than this in one message is no relative encoder's.
constexpr int kMostLearnDetents = 15;
// Turns, right and left by turns, that make a binary-offset encoder.
constexpr size_t kBinaryOffsetTurns = 4;

// Whether `value` reads under `encoding` as a turn of a few detents, right or left.
bool ReadsAsTurn(Encoding encoding, int value, bool right) {
    const int detents = RelativeDetents(encoding, value);
    return right ? detents > 0 && detents <= kMostLearnDetents
                 : detents < 0 && detents >= -kMostLearnDetents;
}

}  // namespace

Encoding EncodingFromDetents(int right, int left) {
    constexpr std::array kRelative{Encoding::TwosComplement, Encoding::BinaryOffset,
                                   Encoding::SignBit, Encoding::SignBitInverted};
    for (Encoding encoding : kRelative) {
        if (ReadsAsTurn(encoding, right, true) && ReadsAsTurn(encoding, left, false)) {
            return encoding;
        }
    }
    return Encoding::Absolute;
}

bool Learner::Feed(const MidiBytes& bytes) {
    if (m_done) {
        return true;
    }
    const std::optional<MidiEvent> event = ParseMidi(bytes);
    if (!event) {
        return false;
    }
    if (m_target.kind != PanelControl::Kind::Knob) {
        if (event->value == 0) {
            return false;
        }
        m_knob.control = event->control;
        m_done = true;
        return true;
    }
    FeedKnob(*event);
    return m_done;
}

void Learner::FeedKnob(const MidiEvent& event) {
    if (event.control.kind != MidiKind::ControlChange) {
        return;
    }
    if (!m_turned || *m_turned != event.control) {
        m_turned = event.control;
        m_values = {event.value};
        return;
    }
    // A detent sent twice repeats its value: still the same turn.
    if (event.value == m_values.back()) {
        return;
    }
    m_values.push_back(event.value);
    const Encoding encoding = EncodingFromDetents(m_values[0], m_values[1]);
    if (encoding != Encoding::BinaryOffset) {
        Learn(event.control, encoding);
        return;
    }
    const bool right = m_values.size() % 2 == 1;
    if (!ReadsAsTurn(Encoding::BinaryOffset, event.value, right)) {
        Learn(event.control, Encoding::Absolute);
    } else if (m_values.size() == kBinaryOffsetTurns) {
        Learn(event.control, Encoding::BinaryOffset);
    }
}

void Learner::Learn(const MidiControl& control, Encoding encoding) {
    m_knob.control = control;
    m_knob.encoding = encoding;
    m_knob.ring = RingBinding{control, RingStyle::Plain, 0};
    m_done = true;
}

std::string Learner::Prompt() const {
    if (m_done) {
        return PanelControlName(m_target) + " is learned.";
    }
    if (m_target.kind != PanelControl::Kind::Knob) {
        return "Press the surface's button for " + PanelControlName(m_target) + ".";
    }
    switch (m_values.size()) {
        case 0:
            return "Turn the surface's knob for " + PanelControlName(m_target) +
                   " one detent right.";
        case 1:
            return "Now turn it one detent left.";
        case 2:
            return "Once more: one detent right.";
        default:
            return "And one detent left.";
    }
}

void Learner::ApplyTo(Mapping& mapping) const {
    if (!m_done) {
        return;
    }
    if (m_target.kind == PanelControl::Kind::Knob) {
        BindKnob(mapping, m_target.index, m_knob);
    } else {
        BindButton(mapping, m_target, m_knob.control);
    }
}
