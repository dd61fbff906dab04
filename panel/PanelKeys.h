#pragma once

#include <QKeyCombination>
#include <QString>
#include <span>

#include "console/HardKeys.h"

// The panel's own keys: one for each unit key, menu button, function button and memory, and
// one for ALT. Each runs what a click on its control runs. They act while the panel window
// has the focus, whichever of its controls is focused; a dialog's keys are the dialog's.
//
// Plain digits for the menu buttons and plain F-keys for the function buttons, the two rows
// used most; Ctrl+digits for the units and Shift+F-keys for the memories, which a stray
// press should not reach (Ctrl+F-keys switch desktops on some desktops); A for ALT. None has
// Alt (the desktop's and menus' own), and none is Tab, an arrow, Page, Home, End or Enter,
// which the focused control takes.
enum class PanelKeyTarget {
    Unit,            // unit `number` (1..4)
    MenuButton,      // menu button `number` (0..9)
    FunctionButton,  // function button `number` (0..5)
    Memory,          // memory `number` (1..5)
    AttributeLatch,  // ALT
};

struct PanelKey {
    PanelKeyTarget target;
    int number;
    QKeyCombination key;
};

std::span<const PanelKey> PanelKeys();
// The panel key `pressed` stands for (the keypad's digits count as the digits); null when
// the panel has none.
const PanelKey* FindPanelKey(QKeyCombination pressed);
// The hard key a target presses (None for the menu and function buttons).
ToggleKind ToggleKindOf(PanelKeyTarget target);
// The name of the key of `target` and `number` as the user reads it ("Ctrl+1"); empty when
// the control has none.
QString PanelKeyName(PanelKeyTarget target, int number);
// The same for the hard key of `kind` and `number`.
QString ToggleKeyName(ToggleKind kind, int number);
