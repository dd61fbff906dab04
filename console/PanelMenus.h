#pragma once

#include <cstdint>

// The panel's menu numbers and the rules that choose a menu without a menu button: 0..63 the
// unit's menus, 64 the keyframe menu, 65 the custom-menu list and 66..69 the custom menus.

constexpr int kLastUnitMenu = 63;
constexpr int kLastCustomMenu = 69;

bool IsUnitMenu(int menu);
bool IsCustomMenu(int menu);

// The menu a unit says it shows (status byte 6) when that is one of its own menus; 0, its
// first, when it names another.
int UnitShownMenu(uint8_t statusMenu);

// Function 161 switches the background between its two menus.
constexpr int kBackgroundFunction = 161;
// The background menu of the selected unit: 30 while function 161 is on, else 41 on units
// with the extended menus, else 11.
int BackgroundMenu();
