#include "surface/Learner.h"

#include <array>

namespace {

// A learning turn of more detents than this in one message is no relative encoder's.
constexpr int kMostLearnDetents = 15;

}  // namespace

Encoding EncodingFromDetents(int right, int left) {
    constexpr std::array kRelative{Encoding::TwosComplement, Encoding::BinaryOffset,
                                   Encoding::SignBit, Encoding::SignBitInverted};
    for (Encoding encoding : kRelative) {
        const int r = RelativeDetents(encoding, right);
        const int l = RelativeDetents(encoding, left);
        if (r > 0 && r <= kMostLearnDetents && l < 0 && l >= -kMostLearnDetents) {
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
    if (event->control.kind != MidiKind::ControlChange) {
        return false;
    }
    if (!m_right || m_right->control != event->control) {
        m_right = event;
        return false;
    }
    if (event->value == m_right->value) {
        return false;
    }
    m_knob.control = event->control;
    m_knob.encoding = EncodingFromDetents(m_right->value, event->value);
    m_knob.ring = RingBinding{event->control, RingStyle::Plain, 0};
    m_done = true;
    return true;
}

std::string Learner::Prompt() const {
    if (m_done) {
        return PanelControlName(m_target) + " is learned.";
    }
    if (m_target.kind != PanelControl::Kind::Knob) {
        return "Press the surface's button for " + PanelControlName(m_target) + ".";
    }
    if (!m_right) {
        return "Turn the surface's knob for " + PanelControlName(m_target) + " one detent right.";
    }
    return "Now turn it one detent left.";
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
