#pragma once

#include <span>
#include <string>

// What pressing a hard key does, with its number as the argument.
enum class ToggleKind {
    None = 0,
    MenuShortcut = 1,    // the panel's menu shortcut to menu `number`
    View = 2,            // view selection with function `number`
    UnitSelect = 3,      // selects unit `number`
    Memory = 4,          // memory `number`
    FileClear = 5,       // lights itself, then the panel's file clear
    AttributeLatch = 6,  // flips itself and the latch bit
    Setup = 7,           // the COM port setup
};

// One of the panel's 21 hard keys: what it does and the label printed on it.
struct HardKey {
    ToggleKind kind;
    int number;
    const char* label;
};

// The hard keys in the panel's order (its toggles 0..20).
std::span<const HardKey> HardKeys();
// The key printed `label`, matched without regard to case or surrounding blanks; -1 for none.
int HardKeyLabelled(const std::string& label);
// The key of `kind` and `number`; -1 for none.
int HardKeyOf(ToggleKind kind, int number);

// Whether a kind acts only while a unit is selected.
bool ToggleNeedsUnit(ToggleKind kind);
// Whether a kind acts only while the selected unit answers and its menus are loaded.
bool ToggleNeedsMenus(ToggleKind kind);
