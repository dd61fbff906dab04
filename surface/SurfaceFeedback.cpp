#include "surface/SurfaceFeedback.h"

#include <algorithm>

#include "surface/SoftTakeover.h"

namespace {

constexpr int kVPotPositions = 11;  // LEDs round a V-Pot
constexpr int kVPotModeShift = 4;
constexpr int kLampOn = kMidiDataMaximum;

}  // namespace

int RingValue(const RingBinding& ring, const KnobState& knob) {
    if (!knob.bound) {
        return 0;
    }
    const int position = PositionOf(knob);
    if (ring.style == RingStyle::Plain) {
        return position;
    }
    const int lit = 1 + (position * (kVPotPositions - 1) + kMidiDataMaximum / 2) / kMidiDataMaximum;
    return (std::clamp(ring.vpotMode, 0, kVPotModes - 1) << kVPotModeShift) | lit;
}

bool LampLit(const PanelControl& target, const PanelState& state) {
    switch (target.kind) {
        case PanelControl::Kind::MenuButton:
            return target.index >= 0 && target.index < kActionMenuButtons &&
                   state.menuButtons[target.index].lit;
        case PanelControl::Kind::FunctionButton:
            return target.index >= 0 && target.index < kActionFunctionButtons &&
                   state.functionButtons[target.index].lit;
        case PanelControl::Kind::Toggle: {
            const std::string wanted = ToggleLabel(target.label);
            return std::any_of(state.toggles.begin(), state.toggles.end(),
                               [&wanted](const ButtonState& toggle) {
                                   return toggle.lit && ToggleLabel(toggle.label) == wanted;
                               });
        }
        case PanelControl::Kind::Knob:
            break;
    }
    return false;
}

std::vector<MidiBytes> SurfaceFeedback::Update(const Mapping& mapping, const PanelState& state,
                                               uint32_t now_ms) {
    m_now_ms = now_ms;
    Expire(now_ms);
    std::vector<MidiBytes> messages;
    for (int knob = 0; knob < kActionKnobs; ++knob) {
        const auto& binding = mapping.knobs[knob];
        if (binding && binding->ring) {
            Show(binding->ring->control, RingValue(*binding->ring, state.knobs[knob]), messages);
        }
    }
    for (const ButtonBinding& button : mapping.buttons) {
        if (button.lamp) {
            Show(button.control, LampLit(button.target, state) ? kLampOn : 0, messages);
        }
    }
    return messages;
}

void SurfaceFeedback::Show(const MidiControl& control, int value,
                           std::vector<MidiBytes>& messages) {
    const auto shown = m_shown.find(control);
    if (shown != m_shown.end() && shown->second == value) {
        return;
    }
    m_shown[control] = value;
    messages.push_back(EncodeMidi({control, value}));
    if (m_awaited.size() >= kMostAwaitedEchoes) {
        m_awaited.pop_front();
    }
    m_awaited.push_back({{control, value}, m_now_ms});
}

void SurfaceFeedback::Expire(uint32_t now_ms) {
    while (!m_awaited.empty() && now_ms - m_awaited.front().at_ms > kEchoWindow_ms) {
        m_awaited.pop_front();
    }
}

bool SurfaceFeedback::TakeEcho(const MidiEvent& event, uint32_t now_ms) {
    Expire(now_ms);
    const auto echo = std::find_if(m_awaited.begin(), m_awaited.end(), [&event](const Sent& sent) {
        return sent.event.control == event.control && sent.event.value == event.value;
    });
    if (echo == m_awaited.end()) {
        return false;
    }
    m_awaited.erase(echo);
    return true;
}
