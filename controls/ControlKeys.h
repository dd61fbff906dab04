#pragma once

#include <QString>
#include <optional>

class QKeyEvent;

// The keys a focused control takes itself. A knob or knob display turns with the knob keys,
// each as a drag would turn it; Enter presses a focused button or key and double-clicks a
// focused display. Keys with Ctrl, Alt or Shift are never a control's: they belong to the
// panel, and Tab and Shift+Tab move the focus.
enum class KnobKey {
    StepUp,  // the drag's slowest rate, one tick of it
    StepDown,
    LargeUp,  // the drag's fastest rate, one tick of it
    LargeDown,
    RangeStart,  // to the lowest raw value, where the parameter has a range
    RangeEnd,    // to the highest
};

// The knob key `event` stands for; none for any other key.
std::optional<KnobKey> KnobKeyOf(const QKeyEvent& event);
// Whether `event` is Enter (either Return or the keypad's Enter), without modifiers.
bool IsEnterKey(const QKeyEvent& event);

// What the knob keys do, for tooltips and assistive technology ("Up, Right: one step up; ...").
QString KnobKeysHelp();
// The name of the Enter key as the user reads it.
QString EnterKeyName();
