#pragma once

#include <cstdint>
#include <utility>
#include <vector>

// The unit menus that stand for a dialog: selecting one opens the dialog instead of showing
// the menu.
enum DialogMenu : int {
    kOutputRoutingMenu = 17,
    kGpiMenu = 32,
    kLockoutMenu = 37,
    kMonitorMenu = 45,
    kInputRoutingMenu = 46,
};

// The dialogs the panel opens through OpenPanelDialog, by kind. A dialog that a unit menu
// stands for has that menu's number as its kind (DialogKindOfMenu).
enum PanelDialogKind : int {
    kFilesDialog = 1,
    kCustomMenuDialog = 2,
    kAttributeDialog = 3,
    kBypassDialog = 4,
    kEffectDialog = 5,
    kOutputRoutingDialog = kOutputRoutingMenu,
    kGpiDialog = kGpiMenu,
    kLockoutDialog = kLockoutMenu,
    kMonitorDialog = kMonitorMenu,
    kInputRoutingDialog = kInputRoutingMenu,
    kPortSetupDialog = 100,  // the setup toggle's COM port dialog
    kAboutDialog = 101,      // the model badge's About box
};

// The dialog kind a unit menu opens when it stands for a dialog (its opens-dialog flag, or
// the GPI and lock-out menus): the menu's own number.
constexpr int DialogKindOfMenu(int menu) {
    return menu;
}
// The GPI and on-air lock-out menus open their dialogs whatever their flags say.
constexpr bool AlwaysOpensDialog(int menu) {
    return menu == kGpiMenu || menu == kLockoutMenu;
}

// Argument of the files dialog: bit 0 set for the user files (menu button 9), bit n set when
// unit n (1..4), another unit than the selected one, has the selected unit's model.
constexpr int kFilesUserFilesBit = 0x01;
constexpr int FilesSameModelBit(int unit) {
    return 1 << unit;
}

// What a dialog returns to the panel: whether it closed with OK, the values it asks the panel
// to send (output and input routing: parameter number and byte), and whether it changed the
// unit's stored files (on-air lock-out).
struct PanelDialogResult {
    bool accepted = false;
    std::vector<std::pair<uint8_t, uint8_t>> valuesToSend;
    bool modified = false;
    int chosenNumber = 0;  // what the dialog chose: the port of the setup dialog
};

// What the user is told a dialog is ("files", "GPI"); null for a kind that is none.
const char* DialogName(int kind);
