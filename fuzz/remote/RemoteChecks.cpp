#include "fuzz/remote/RemoteChecks.h"

#include <string>

#include "remote/CommandRunner.h"
#include "remote/OscCommand.h"

namespace {

// Counts the actions it is asked for and takes them all.
class RecordingActions : public ControlActions {
  public:
    ActionOutcome TurnKnob(int, int, const ActionOrigin&) override { return Count(); }
    ActionOutcome PressMenuButton(int, const ActionOrigin&) override { return Count(); }
    ActionOutcome PressFunctionButton(int, const ActionOrigin&) override { return Count(); }
    ActionOutcome PressToggle(const std::string&, const ActionOrigin&) override { return Count(); }
    ActionOutcome DragKnob(int, int, const ActionOrigin&) override { return Count(); }
    ActionOutcome PressKnobDisplay(int, const ActionOrigin&) override { return Count(); }
    ActionOutcome PressLabelled(const std::string&, const ActionOrigin&) override {
        return Count();
    }
    ActionOutcome SelectUnit(int, const ActionOrigin&) override { return Count(); }
    ActionOutcome RecallMemory(int, const ActionOrigin&) override { return Count(); }
    ActionOutcome StoreMemory(int, const ActionOrigin&) override { return Count(); }
    ActionOutcome SetParameter(int, int, const ActionOrigin&) override { return Count(); }
    int calls = 0;

  private:
    ActionOutcome Count() {
        ++calls;
        return ActionOutcome::Taken();
    }
};

// A panel with labelled keys and buttons, so that labels can match.
PanelState LabelledState() {
    PanelState state;
    state.selectedUnit = 1;
    state.menuTitle = "KEYER";
    state.toggles[0] = {"UNIT 1", true};
    state.toggles[1] = {"FILE CLEAR", false};
    state.toggles[2] = {"MEM 3", false};
    state.menuButtons[0] = {"FG", false};
    state.functionButtons[0] = {"CLIP", true};
    state.knobs[0] = {true, 0, "Gain", 10, 0, 100, "10%"};
    return state;
}

bool OneLine(const std::string& line) {
    for (const char c : line) {
        if (static_cast<unsigned char>(c) < 0x20) {
            return false;
        }
    }
    return line.rfind("OK", 0) == 0 || line.rfind("ERR", 0) == 0;
}

bool Holds(const ParsedCommand& parsed) {
    static const PanelState state = LabelledState();
    for (const bool readOnly : {false, true}) {
        RecordingActions actions;
        RemoteAnswer answer = RemoteAnswer::Error(parsed.error);
        if (parsed.command) {
            answer = RunCommand(*parsed.command,
                                {actions, state, {ActionSource::Network, "fuzz"}, readOnly});
        }
        if (!OneLine(answer.Line()) || (!parsed.command && actions.calls != 0)) {
            return false;
        }
        if (readOnly && parsed.command && ChangesThePanel(parsed.command->verb) &&
            actions.calls != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool CheckCommandLine(const uint8_t* data, size_t size) {
    return Holds(ParseCommandLine({reinterpret_cast<const char*>(data), size}));
}

bool CheckOscPacket(const uint8_t* data, size_t size) {
    return Holds(DecodeOscPacket(data, size));
}
