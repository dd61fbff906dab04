#pragma once

#include <cstdint>
#include <optional>

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

// What a knob calls on the panel while it is held.
class KnobHost : public PanelPolling {
  public:
    // Re-binds all eight knob displays to the current menu and redraws them.
    virtual void BindKnobs() = 0;
};

// The panel actions a toggle button runs, each with the toggle's number.
class ToggleActions : public PanelPolling {
  public:
    virtual void SelectUnit(int unit) = 0;
    virtual void SelectView(int functionNumber) = 0;
    virtual void SelectShortcut(int menu) = 0;
    virtual void RecallMemory(int memory) = 0;
    virtual void ClearFiles() = 0;
    // Runs the COM port setup dialog modally, showing `portNumber`; the chosen port when the
    // user confirms, nothing when cancelled.
    virtual std::optional<int> RunPortSetup(int portNumber) = 0;
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
