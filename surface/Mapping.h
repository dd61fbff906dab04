#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "actions/ControlActions.h"
#include "surface/Encoding.h"
#include "surface/MidiMessage.h"

// What a surface's controls do on the panel, and where the panel's knobs and lamps show on
// the surface: the model of one mapping file.

// A panel control a surface's button presses: a menu button, a function button (both
// counted from 0) or a hard key by its printed label ("UNIT 2", "MEM 3", "ALT").
struct PanelControl {
    enum class Kind { Knob, MenuButton, FunctionButton, Toggle };
    Kind kind = Kind::MenuButton;
    int index = 0;      // knobs 0..7, menu buttons 0..9, function buttons 0..5
    std::string label;  // a toggle's
    bool operator==(const PanelControl&) const = default;
};

// How an encoder's LED ring shows its value. A plain ring takes the value's place in the
// range as 0..127; a V-Pot ring takes its mode in bits 4..5 and the lit position, 1..11, in
// bits 0..3. A dark ring is 0 either way.
enum class RingStyle { Plain, VPot };
constexpr int kVPotModes = 4;  // single dot, boost/cut, wrap, spread

struct RingBinding {
    MidiControl control;  // a control change out
    RingStyle style = RingStyle::Plain;
    int vpotMode = 0;  // 0..3
};

struct KnobBinding {
    MidiControl control;  // a control change in
    Encoding encoding = Encoding::Absolute;
    std::optional<RingBinding> ring;
    int line = 0;  // where the file has it, 0 when learned
};

struct ButtonBinding {
    PanelControl target;  // never a knob
    MidiControl control;  // a note or a control change, in; its lamp goes out on the same
    bool lamp = true;     // the button's LED follows the panel's lamp
    int line = 0;
};

constexpr int kMappingVersion = 1;

struct Mapping {
    std::string name;
    std::array<std::optional<KnobBinding>, kActionKnobs> knobs{};
    std::vector<ButtonBinding> buttons;
};

// The label a toggle's control is named by: trimmed, upper case.
std::string ToggleLabel(const std::string& label);

// Where `control` is bound in `mapping`, a knob first; nothing when it is bound to nothing.
std::optional<PanelControl> BoundTo(const Mapping& mapping, const MidiControl& control);

// Binds `target` to `binding` (a knob) or `control` (a button), in place of what it had, and
// takes `control` from anything else that had it.
void BindKnob(Mapping& mapping, int knob, const KnobBinding& binding);
void BindButton(Mapping& mapping, const PanelControl& target, const MidiControl& control);

// The panel control as the settings name it: "Knob 3", "Menu button 2", "Function button 1",
// "UNIT 2".
std::string PanelControlName(const PanelControl& control);
