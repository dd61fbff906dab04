#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <vector>

#include "actions/PanelState.h"
#include "surface/Mapping.h"

// What a surface shows of the panel: each encoder's ring the place of its knob's value in
// its range (dark on a knob bound to nothing), each button's LED its panel control's lamp.
// Only what changed since the last message goes out, so a poll that changes nothing sends
// nothing. A port that sends back what it receives (a looped cable, a through port on both
// sides) returns each ring on its encoder's own control: such an echo is told apart, or the
// ring would turn its own knob, and that knob its ring, without end.
class SurfaceFeedback {
  public:
    // The messages that bring the surface to `state` under `mapping`, sent at `now_ms` (the
    // clock's tick).
    std::vector<MidiBytes> Update(const Mapping& mapping, const PanelState& state, uint32_t now_ms);
    // The surface shows nothing known (just connected, or another mapping): the next update
    // sends every ring and lamp.
    void Forget() { m_shown.clear(); }
    // Whether `event`, come in at `now_ms`, is the echo of a message sent on the same control
    // with the same value within kEchoWindow_ms; each message sent stands for one echo.
    bool TakeEcho(const MidiEvent& event, uint32_t now_ms);

    // An echo comes back within milliseconds; a real turn that matches a ring this soon is
    // rare and costs one detent.
    static constexpr uint32_t kEchoWindow_ms = 250;
    // The messages kept for their echo: more than one update of every ring and lamp.
    static constexpr size_t kMostAwaitedEchoes = 256;

  private:
    struct Sent {
        MidiEvent event;
        uint32_t at_ms = 0;
    };
    void Show(const MidiControl& control, int value, std::vector<MidiBytes>& messages);
    void Expire(uint32_t now_ms);

    std::map<MidiControl, int> m_shown;
    std::deque<Sent> m_awaited;  // oldest first
    uint32_t m_now_ms = 0;
};

// The ring value that shows `knob` in `ring`'s style.
int RingValue(const RingBinding& ring, const KnobState& knob);
// Whether the panel lights the control a button is bound to.
bool LampLit(const PanelControl& target, const PanelState& state);
