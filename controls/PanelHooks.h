#pragma once

#include <cstdint>

// What the controls need from the panel that owns them. The panel implements these; tests
// use fakes. Each is small so a control depends on only what it calls.

// The panel's polling: the unit polls (every 100 ms) and the update prompt (every 20 ms).
// Anything that holds the user for a while (a held knob, a modal dialog) stops both first and
// starts them again afterwards, so no poll runs in between.
class PanelPolling {
  public:
    virtual ~PanelPolling() = default;
    virtual void StopPolling() = 0;    // stops the polls and the prompt
    virtual void ResumePolling() = 0;  // starts them again
};

// What a knob calls on the panel: its hold stops the polls, and its turns go to the panel's
// named actions. A knob sends nothing to a unit itself.
class KnobHost : public PanelPolling {
  public:
    // One 20 ms tick of knob `knob` (0..7) held `deflection` positions off its rest.
    virtual void KnobTick(int knob, int deflection) = 0;
    // A knob key's turn of knob `knob` by `amount` whole steps.
    virtual void KnobKeyTurn(int knob, int amount) = 0;
};

// The keyframe position the information line shows while the keyframe menu is on show.
class KeyframeReadout {
  public:
    virtual ~KeyframeReadout() = default;
    virtual int CurrentKeyframe() const = 0;
    virtual int KeyframeCount() const = 0;
};

// Which units answered the last polls: the address byte of unit n's last answer (n = 1..4),
// 0 when it did not answer.
class PollResults {
  public:
    virtual ~PollResults() = default;
    virtual uint8_t AnsweringAddress(int unit) const = 0;
};
