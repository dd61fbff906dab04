#pragma once

#include <array>
#include <string>

#include "actions/PanelState.h"
#include "model/PanelModel.h"

constexpr int kMenuButtons = kActionMenuButtons;

// What the menus put on the panel: the title and the captions and lamps of the menu and
// function buttons, from the menu tables and the function values. A blank button is {}.
struct MenuFace {
    std::string title;
    std::array<ButtonState, kMenuButtons> menuButtons{};
    std::array<ButtonState, kFunctionButtonCount> functionButtons{};
    bool operator==(const MenuFace&) const = default;
};

// The function offset behind function button `button` of `menu` on `unit`;
// kEmptyFunctionOffset for none.
int FunctionOffset(int unit, int menu, int button);

// The title and the menu buttons' captions `menu` of a unit of `model` puts on `face`. A menu
// names only the buttons it uses: the others keep what they showed. Nothing changes for a menu
// that is not on show (-1: the menus are not loaded).
void PutMenuLabels(MenuFace& face, int menu, uint8_t model);
// The function buttons' captions and lamps of `menu`, from the function values.
void PutFunctionLabels(MenuFace& face, int unit, int menu, uint8_t model);

// Menus without a Return: the unit's top-level menus.
bool IsRootMenu(int menu);
