// Menus of the Main Units. Button 0 of every menu is the panel's Return; buttons 1..5 lead
// to sub-menus (a full unit also uses button 6); the six function buttons follow.
#include "sim/models/ModelSets.h"

namespace {

using Knobs = std::array<uint8_t, kMenuKnobs>;
using Targets = std::array<uint8_t, kFullMenuButtons>;
using Functions = std::array<uint8_t, kMenuFunctionButtons>;

constexpr uint8_t E = kNoKnobParam;  // empty knob
constexpr uint8_t N = kNoTarget;     // no target, no function

MenuDef Menu(uint8_t number, const std::string& title, const std::string& shortName,
             const Knobs& knobs, const Targets& targets, const Functions& functions) {
    return {.number = number,
            .title = title,
            .shortName = shortName,
            .knobs = knobs,
            .targets = targets,
            .functions = functions};
}

// A menu whose selection opens one of the panel's dialogs.
MenuDef DialogMenu(uint8_t number, const std::string& title, const std::string& shortName) {
    return {
        .number = number, .title = title, .shortName = shortName, .flags = kFlagMenuOpensDialog};
}

MenuDef ConfigurationMenu(uint8_t familyMenu) {
    return Menu(15, "Configuration", "Config", {93, 94, 95, 96, 97, 98, 114, E},
                {N, 37, 32, 31, familyMenu, 17, 46, N, N, N}, {168, 163, 174, 223, N, N});
}

}  // namespace

const std::vector<MenuDef> kCoreMenus = {
    Menu(0, "Key Setup", "Key", {0, 1, 2, 5, 6, 3, 4, 8}, {N, 1, 2, 15, 31, 37, 32, N, N, N},
         {135, 136, 129, 130, 132, 159}),
    Menu(1, "Key Source", "Source", {6, 0, 1, 2, E, E, E, E}, {N, 2, 0, N, N, N, N, N, N, N},
         {135, 136, N, N, N, 159}),
    Menu(2, "Key Border", "Border", {8, 9, 26, 5, E, E, E, E}, {N, 1, 29, N, N, N, N, N, N, N},
         {140, N, N, N, N, N}),
    Menu(7, "Foreground", "FG", {10, 11, 12, 13, 14, 15, E, E}, {N, 8, 9, 17, 46, 45, 15, N, N, N},
         {129, 221, 222, 224, 225, 159}),
    Menu(8, "FG Colour", "Colour", {10, 11, 12, 13, 59, 60, 61, 101},
         {N, 9, N, N, N, N, N, N, N, N}, {129, N, N, N, N, N}),
    Menu(9, "FG Size", "Size", {14, 15, 3, 4, E, E, E, E}, {N, 8, N, N, N, N, N, N, N, N},
         {129, N, N, N, N, N}),
    Menu(11, "Background", "BG", {16, 17, 18, 19, E, E, E, E}, {N, 12, 13, 30, 31, N, N, N, N, N},
         {130, 161, 145, 226, N, 159}),
    Menu(12, "BG Colour", "BG Col", {16, 17, 18, E, 59, 60, 61, 101},
         {N, 13, N, N, N, N, N, N, N, N}, {130, N, N, N, N, N}),
    Menu(13, "BG Wipe", "Wipe", {19, 20, E, E, E, E, E, E}, {N, 12, N, N, N, N, N, N, N, N},
         {145, 130, N, N, N, N}),
    Menu(18, "Matte In/Out", "Matte", {27, 28, 29, E, E, E, E, E}, {N, 19, 26, N, N, N, N, N, N, N},
         {132, 225, 227, N, N, 159}),
    Menu(19, "Matte Timing", "Timing", {27, 28, 7, E, E, E, E, E}, {N, 18, N, N, N, N, N, N, N, N},
         {132, N, N, N, N, N}),
    Menu(26, "Window", "Window", {21, 22, 23, 24, 25, E, E, E}, {N, 27, 28, 29, 2, N, N, N, N, N},
         {150, 140, N, N, N, N}),
    Menu(27, "Window Size", "W Size", {21, 22, 23, 24, E, E, E, E}, {N, 28, N, N, N, N, N, N, N, N},
         {150, N, N, N, N, N}),
    Menu(28, "Window Shape", "W Shape", {25, 9, E, E, E, E, E, E},
         {N, 27, 29, 2, 26, N, N, N, N, N}, {150, 140, N, N, N, N}),
    Menu(29, "Window Border", "W Border", {8, 26, 9, E, E, E, E, E},
         {N, 28, N, N, N, N, N, N, N, N}, {140, N, N, N, N, N}),
    Menu(30, "Alt Background", "Alt BG", {16, 17, 18, 19, 20, E, E, E},
         {N, 12, 13, N, N, N, N, N, N, N}, {161, 130, 145, N, N, N}),
    Menu(31, "GPI Status", "GPI Stat", {E, E, E, E, E, E, E, E}, {N, 32, N, N, N, N, N, N, N, N},
         {216, 217, 218, 219, 220, N}),
};

const std::vector<MenuDef> kCompactMenus = {
    ConfigurationMenu(33),
    Menu(33, "GPI Monitor", "GPI Mon", {E, E, E, E, E, E, E, E}, {N, 31, 32, N, N, N, N, N, N, N},
         {216, 217, 218, N, N, N}),
};

const std::vector<MenuDef> kFullMenus = {
    ConfigurationMenu(34),
    Menu(34, "Router", "Router", {114, 115, E, E, E, E, E, E}, {N, 17, 46, 45, N, N, N, N, N, N},
         {211, 214, N, N, N, N}),
};

const std::vector<MenuDef> kExtendedMenus = {
    Menu(40, "Foreground Plus", "FG+", {10, 11, 12, 13, 14, 15, 3, 4},
         {N, 8, 9, 17, 46, 45, 15, N, N, N}, {129, 221, 222, 224, 225, 159}),
    Menu(41, "Background Plus", "BG+", {16, 17, 18, 19, 20, 59, 60, 61},
         {N, 12, 13, 30, 31, N, N, N, N, N}, {130, 161, 145, 226, 227, 159}),
};

const std::vector<MenuDef> kDialogMenus = {
    DialogMenu(17, "Output Routing", "Outputs"), DialogMenu(32, "GPI Sequences", "GPI"),
    DialogMenu(37, "On Air Lockout", "On Air"),  DialogMenu(45, "Monitor", "Monitor"),
    DialogMenu(46, "Input Routing", "Inputs"),
};
