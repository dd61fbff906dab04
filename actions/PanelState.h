#pragma once

#include <array>
#include <string>

#include "actions/ControlActions.h"

// What the panel shows, as plain values: what a surface's rings and lamps and a network
// client's variables follow. Two states compare equal when nothing a source shows changed.

struct KnobState {
    bool bound = false;  // the knob has a parameter in the current menu
    int parameter = -1;  // the unit's parameter number; -1 for the panel's own records
    std::string name;
    int value = 0;
    int minimum = 0;
    int maximum = 0;
    std::string valueText;  // as the display shows it
    bool operator==(const KnobState&) const = default;
};

struct ButtonState {
    std::string label;  // empty on a blank button
    bool lit = false;
    bool operator==(const ButtonState&) const = default;
};

constexpr int kStateToggles = 21;

struct PanelState {
    int selectedUnit = 0;                     // 1..4, 0 for none
    std::array<bool, kActionUnits> onLine{};  // units 1..4 answer the polls
    bool linkLost = false;
    std::string menuTitle;
    std::string infoLine;
    std::array<KnobState, kActionKnobs> knobs{};
    std::array<ButtonState, kActionMenuButtons> menuButtons{};
    std::array<ButtonState, kActionFunctionButtons> functionButtons{};
    std::array<ButtonState, kStateToggles> toggles{};  // printed label, lamp lit
    bool operator==(const PanelState&) const = default;
};

// Told of every change of the panel's state, on the window's thread, after the change.
class PanelStateListener {
  public:
    virtual ~PanelStateListener() = default;
    virtual void OnPanelState(const PanelState& state) = 0;
    // An action that waited in the queue was refused when its turn came.
    virtual void OnActionRefused(const ActionOrigin& origin, const std::string& reason) {
        static_cast<void>(origin);
        static_cast<void>(reason);
    }
};
