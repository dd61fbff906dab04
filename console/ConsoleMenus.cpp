// Menu navigation: the title, the menu and function button labels, and the menu buttons.
#include <cstdio>

#include "console/MenuButtons.h"
#include "console/PanelConsole.h"
#include "console/PanelDialogKinds.h"
#include "console/PanelMenus.h"
#include "console/PanelView.h"
#include "link/GpiCommands.h"
#include "link/ParameterCommands.h"

namespace {

constexpr int kNoTarget = 255;
constexpr int kLastTargetMenu = kKeyframeMenu;  // targets above it name no menu
constexpr int kGpiMonitorMenu = 33;             // compact family
constexpr int kGpiStatusMenu = 31;
constexpr int kLockoutEnableFunction = 168;
constexpr int kCompactGpiPosition = 11;  // answer data of the compact family's monitor

// What a menu button does in a menu: the fixed buttons first, then what the menu offers.
enum class MenuButtonRole {
    None,
    Return,
    EffectDialog,      // Configure in the keyframe menu
    KeyframeMenu,      // Effects, on the compact family
    Files,             // the unit's files
    CustomMenuList,    // Custom
    UserFiles,         // the user files, or with the latch the bypass transfer
    CustomMenuChoice,  // the custom menus' own buttons
    MenuEntry,         // a unit menu's entry: another menu, or a dialog
};

MenuButtonRole RoleOfMenuButton(int button, int menu, bool compact) {
    if (button == kReturnButton) {
        return MenuButtonRole::Return;
    }
    if (button == kConfigureButton && menu == kKeyframeMenu) {
        return MenuButtonRole::EffectDialog;
    }
    if (button == kEffectsButton && compact) {
        return MenuButtonRole::KeyframeMenu;
    }
    switch (button) {
        case kFilesButton:
            return MenuButtonRole::Files;
        case kCustomButton:
            return MenuButtonRole::CustomMenuList;
        case kUserFilesButton:
            return MenuButtonRole::UserFiles;
        default:
            break;
    }
    if (IsCustomMenu(menu)) {
        return MenuButtonRole::CustomMenuChoice;
    }
    return IsUnitMenu(menu) ? MenuButtonRole::MenuEntry : MenuButtonRole::None;
}

// The menu a unit menu's button leads to, or -1 for none.
int MenuTarget(int menu, int button) {
    if (!IsUnitMenu(menu) || button < 0 || button >= kMenuEntryWords) {
        return -1;
    }
    const int target = g_menuTable[menu].entry[button];
    return target == kNoTarget || target < 0 || target > kLastTargetMenu ? -1 : target;
}

std::string GpiReadout(int sequence, int event) {
    char text[64];
    std::snprintf(text, sizeof text, "GPI Sequence: %d        GPI Event: %d", sequence, event);
    return text;
}

}  // namespace

void PanelConsole::RefreshMenu() {
    ShowMenuLabels();
    ShowFunctionLabels();
    BindKnobs();
}

void PanelConsole::ShowMenuLabels() {
    PutMenuLabels(m_face, CurrentMenu(), SelectedModel());
    ShowFace();
}

void PanelConsole::ShowFunctionLabels() {
    const int menu = CurrentMenu();
    if (menu < 0 || menu > kLastCustomMenu) {
        return;
    }
    // A momentary function is off again once its button shows.
    for (int button = 0; button < kFunctionButtonCount; ++button) {
        const int offset = FunctionOffset(SelectedUnit(), menu, button);
        if (offset > 0 && offset < kFunctionCount &&
            (g_functionTable[offset].flags & kFlagMomentary) != 0) {
            g_functionTable[offset].value = 0;
        }
    }
    PutFunctionLabels(m_face, SelectedUnit(), menu, SelectedModel());
    ShowFace();
}

void PanelConsole::LightMenuButton(int button) {
    m_face.menuButtons[button].lit = true;
    ShowFace();
}

void PanelConsole::OnMenuButton(int button) {
    if (SelectedModel() == 0 || button < 0 || button >= kMenuButtons) {
        return;
    }
    // The dialogs a press opens may change the menu on show too (a unit lost meanwhile).
    const int32_t& current = CurrentMenu();
    const int old = current;
    if (old < 0 || old > kLastCustomMenu) {
        return;
    }
    switch (RoleOfMenuButton(button, old, IsCompactModel(SelectedModel()))) {
        case MenuButtonRole::Return:
            ReturnToPreviousMenu(old);
            break;
        case MenuButtonRole::EffectDialog:
            OpenPanelDialog(kEffectDialog, 0);
            break;
        case MenuButtonRole::KeyframeMenu:
            CurrentMenu() = kKeyframeMenu;
            break;
        case MenuButtonRole::Files:
            OpenPanelDialog(kFilesDialog, FilesDialogArgument(0));
            break;
        case MenuButtonRole::CustomMenuList:
            CurrentMenu() = kCustomMenuList;
            break;
        case MenuButtonRole::UserFiles:
            OpenUserFilesOrBypass();
            break;
        case MenuButtonRole::CustomMenuChoice:
            ChooseInCustomMenu(button, old);
            break;
        case MenuButtonRole::MenuEntry:
            FollowMenuEntry(button, old);
            break;
        case MenuButtonRole::None:
            break;
    }
    if (current == old) {
        ShowLine();
        return;
    }
    ShowEnteredMenu(button, old);
}

bool PanelConsole::MenuButtonOpensDialog(int button) const {
    const int menu = CurrentMenuShown();
    if (menu < 0 || menu > kLastCustomMenu || button < 0 || button >= kMenuButtons) {
        return false;
    }
    switch (RoleOfMenuButton(button, menu, IsCompactModel(SelectedModel()))) {
        case MenuButtonRole::EffectDialog:
        case MenuButtonRole::Files:
        case MenuButtonRole::UserFiles:
            return true;
        case MenuButtonRole::CustomMenuChoice:
            return button == kCustomDialogButton;
        case MenuButtonRole::MenuEntry: {
            const int target = MenuTarget(menu, button);
            return target >= 0 && ((g_menuTable[target].flags & kFlagMenuOpensDialog) != 0 ||
                                   AlwaysOpensDialog(target));
        }
        default:
            return false;
    }
}

void PanelConsole::ReturnToPreviousMenu(int old) {
    const int previous = g_panelModel.m_previousMenu[SelectedUnit()];
    if (!IsRootMenu(old) && previous >= 0 && previous <= kLastCustomMenu) {
        CurrentMenu() = previous;
    }
    ShowMessage(g_idleText);
}

// With the attribute latch the user files button opens the bypass transfer instead.
void PanelConsole::OpenUserFilesOrBypass() {
    if (AttributeLatchSet()) {
        OpenPanelDialog(kBypassDialog, 0);
        ClearAttributeLatch();
    } else {
        OpenPanelDialog(kFilesDialog, FilesDialogArgument(kFilesUserFilesBit));
    }
}

// In the custom menus buttons 3..6 lead to custom menus 1..4, and button 1 configures the
// menu on show.
void PanelConsole::ChooseInCustomMenu(int button, int old) {
    if (button >= kFirstCustomButton && button < kFirstCustomButton + kCustomMenuCount - 1) {
        CurrentMenu() = kCustomMenuList + 1 + button - kFirstCustomButton;
    } else if (button == kCustomDialogButton) {
        OpenPanelDialog(kCustomMenuDialog, old - kCustomMenuList);
    }
}

// A unit menu's button leads to the menu of its entry; a menu that stands for a dialog opens
// it, and the title, buttons and knobs stay the old menu's.
void PanelConsole::FollowMenuEntry(int button, int old) {
    const int target = MenuTarget(old, button);
    if (target < 0) {
        return;
    }
    const bool opensDialog = (g_menuTable[target].flags & kFlagMenuOpensDialog) != 0;
    if (!opensDialog && !AlwaysOpensDialog(target)) {
        CurrentMenu() = target;
        return;
    }
    const int kind = DialogKindOfMenu(target);
    OpenPanelDialog(kind, kind == kLockoutDialog ? kLockoutEnableFunction : 0);
}

void PanelConsole::ShowEnteredMenu(int button, int old) {
    // Lit while the new menu's values are read.
    LightMenuButton(button);
    static_cast<void>(ReadParameterValues());
    RefreshMenu();
    g_panelModel.m_previousMenu[SelectedUnit()] = old;
    ShowMenuReadout(CurrentMenu());
}

// What the information line shows on entering `menu`: the GPI position in the GPI menus,
// else nothing. A failed read leaves the line as it is.
void PanelConsole::ShowMenuReadout(int menu) {
    const bool compact = IsCompactModel(SelectedModel());
    if (!(compact && menu == kGpiMonitorMenu) && menu != kGpiStatusMenu) {
        ShowMessage(g_idleText);
        return;
    }
    AnswerBuffer answer{};
    if (ReadGpiStatus(answer) != Status::Ok) {
        return;
    }
    // The compact family's monitor reports the position further into its answer.
    const int first = menu == kGpiStatusMenu ? 0 : kCompactGpiPosition;
    ShowMessage(GpiReadout(AnswerData(answer, first), AnswerData(answer, first + 1)));
}
