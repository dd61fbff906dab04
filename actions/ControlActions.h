#pragma once

#include <functional>
#include <string>

// Every panel control's action, named once. The mouse, the keyboard, a control surface and a
// network client all call these, so an action takes the same exchanges and obeys the same
// rules (on-air lock-out, attribute latch, keyframe rules) whoever asks for it.
//
// An action asked for while the line is busy with other work waits its turn in the one queue
// of the window's work, behind everything that came before it, and is resolved when it runs;
// turns of a knob that meet at the queue's end are summed into one. The outcome says at once
// whether the panel takes the action or why it refuses it; what the unit then does shows in
// the panel's state.

// Who asked: the source and, for a surface or a client, which one.
enum class ActionSource { Mouse, Keyboard, Surface, Network };

struct ActionOrigin {
    ActionSource source = ActionSource::Mouse;
    std::string client;  // the surface's port name, the client's address; empty otherwise
};

struct ActionOutcome {
    bool taken = true;
    std::string reason;  // why the panel refuses, in the words its user would read
    // Taken into the queue behind the line's work: resolved when its turn comes, and a
    // refusal then is told to the panel's listeners.
    bool queued = false;

    static ActionOutcome Taken() { return {}; }
    static ActionOutcome Queued() { return {true, {}, true}; }
    static ActionOutcome Refused(std::string why) { return {false, std::move(why)}; }
};

// A parameter change as it is found when its turn comes: the parameter's number and raw
// value, or why there is none.
struct ParameterChange {
    int number = -1;
    int value = 0;
    std::string refusal;  // not empty: the change is refused with it
};

// The counts the actions address; numbers outside them are refused.
constexpr int kActionKnobs = 8;            // knobs 0..7, left column first
constexpr int kActionMenuButtons = 10;     // menu buttons 0..9 in reading order
constexpr int kActionFunctionButtons = 6;  // function buttons 0..5
constexpr int kActionUnits = 4;            // units 1..4
constexpr int kActionMemories = 5;         // memories 1..5

class ControlActions {
  public:
    virtual ~ControlActions() = default;

    // Turns knob `knob` by `delta` whole steps, as that many presses of its step key do.
    virtual ActionOutcome TurnKnob(int knob, int delta, const ActionOrigin& origin) = 0;
    // One 20 ms tick of knob `knob` held `deflection` positions off its rest (the mouse's
    // drag): the square of the deflection, one step of a stepped parameter.
    virtual ActionOutcome DragKnob(int knob, int deflection, const ActionOrigin& origin) = 0;
    // A double-click on knob `knob`'s display: sends its value or the unit's default.
    virtual ActionOutcome PressKnobDisplay(int knob, const ActionOrigin& origin) = 0;
    virtual ActionOutcome PressMenuButton(int button, const ActionOrigin& origin) = 0;
    virtual ActionOutcome PressFunctionButton(int button, const ActionOrigin& origin) = 0;
    // Presses the hard key printed `label` ("UNIT 2", "VIEW FG", "MEM 3", "ALT", ...).
    virtual ActionOutcome PressToggle(const std::string& label, const ActionOrigin& origin) = 0;
    // Presses the hard key printed `label`, else the menu button, else the function button
    // showing it, as the panel shows them when the press's turn comes.
    virtual ActionOutcome PressLabelled(const std::string& label, const ActionOrigin& origin) = 0;
    virtual ActionOutcome SelectUnit(int unit, const ActionOrigin& origin) = 0;
    virtual ActionOutcome RecallMemory(int memory, const ActionOrigin& origin) = 0;
    // Stores into memory `memory`: the memory key with the attribute latch set.
    virtual ActionOutcome StoreMemory(int memory, const ActionOrigin& origin) = 0;
    // Sets parameter `number` of the selected unit to the raw `value`.
    virtual ActionOutcome SetParameter(int number, int value, const ActionOrigin& origin) = 0;
    // Sets the parameter and value `find` gives when the action's turn comes, so a parameter
    // named by its name, and a value in its display's units, are read from the selected unit's
    // tables as they are then. This default finds them at once, as an action that runs at once
    // would; a panel that queues actions calls `find` in the queued work.
    virtual ActionOutcome SetFoundParameter(std::function<ParameterChange()> find,
                                            const ActionOrigin& origin) {
        const ParameterChange change = find();
        if (!change.refusal.empty()) {
            return ActionOutcome::Refused(change.refusal);
        }
        return SetParameter(change.number, change.value, origin);
    }
};
