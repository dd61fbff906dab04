// Menu navigation: the title, the menu and function button labels, and the menu buttons.
#include <cstdio>

#include "controls/CImageTextButton.h"
#include "controls/CInfoBar.h"
#include "controls/CLabel.h"
#include "controls/InfoBarText.h"
#include "link/GpiCommands.h"
#include "link/ParameterCommands.h"
#include "panel/CTavrinoxDlg.h"
#include "panel/PanelMenus.h"

namespace {

constexpr int kReturnButton = 0;
constexpr int kEffectsButton = 6;
constexpr int kFilesButton = 7;
constexpr int kCustomButton = 8;
constexpr int kUserFilesButton = 9;
constexpr int kConfigureButton = 5;  // the keyframe menu's effect dialog
constexpr int kCustomDialogButton = 1;
constexpr int kUnusedCustomButton = 2;
constexpr int kFirstCustomButton = 3;

constexpr int kNoTarget = 255;
constexpr int kLastTargetMenu = kKeyframeMenu;  // targets above it name no menu
constexpr int kGpiMonitorMenu = 33;             // compact family
constexpr int kGpiStatusMenu = 31;
constexpr int kLockoutEnableFunction = 168;
constexpr int kCompactGpiPosition = 11;  // answer data of the compact family's monitor
constexpr int kBlankOffsetOfModel4 = 126;

const char* const kNoLabel = "     ";
const char* const kBlankCustomButton = "       ";
const char* const kCurrentCustomButton = "         ";
const char* const kEmptyFunctionLabel = " ";

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

// Menus without a Return: the unit's top-level menus.
bool IsRootMenu(int menu) {
    return menu == 0 || menu == 7 || menu == 11 || menu == 18 || menu == 26 || menu == 30;
}

// Custom menus on offer: three on the compact family, four on the full one.
int CustomMenuCount(uint8_t model) {
    return IsCompactModel(model) ? 3 : 4;
}

std::string Formatted(const char* format, int value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string GpiReadout(int sequence, int event) {
    char text[64];
    std::snprintf(text, sizeof text, "GPI Sequence: %d        GPI Event: %d", sequence, event);
    return text;
}

}  // namespace

void CTavrinoxDlg::SetMenuButton(int button, const std::string& text) {
    CImageTextButton* control = m_menuButton[button];
    if (control == nullptr) {
        return;
    }
    control->SetCaption(text);
    control->SetImageIndex(0);
    control->show();
    control->repaint();
}

void CTavrinoxDlg::RefreshMenu() {
    ShowMenuLabels();
    ShowFunctionLabels();
    BindKnobs();
}

void CTavrinoxDlg::ShowMenuLabels() {
    const int menu = CurrentMenu();
    if (menu == kKeyframeMenu) {
        m_titleLabel->SetCaption("Effect Menu");
        SetMenuButton(kReturnButton, "Return");
        for (int button = 1; button < kConfigureButton; ++button) {
            SetMenuButton(button, "");
        }
        SetMenuButton(kConfigureButton, "Configure");
    } else if (IsCustomMenu(menu)) {
        ShowCustomMenuLabels(menu);
    } else if (IsUnitMenu(menu)) {
        ShowUnitMenuLabels(menu);
    }
}

void CTavrinoxDlg::ShowCustomMenuLabels(int menu) {
    const uint8_t model = SelectedModel();
    if (menu == kCustomMenuList) {
        m_titleLabel->SetCaption("Custom Menu");
    } else {
        m_titleLabel->SetCaption(Formatted("Custom Menu %d", menu - kCustomMenuList));
    }
    const int count = CustomMenuCount(model);
    for (int custom = 1; custom <= count; ++custom) {
        const int button = kFirstCustomButton + custom - 1;
        const bool current = menu == kCustomMenuList + custom;
        SetMenuButton(button, current ? kCurrentCustomButton : Formatted("Custom %d", custom));
    }
    SetMenuButton(kReturnButton, "Return");
    if (menu == kCustomMenuList) {
        SetMenuButton(kCustomDialogButton, model == 4 ? "By Pass" : kBlankCustomButton);
    } else {
        SetMenuButton(kCustomDialogButton, "Configure");
    }
    SetMenuButton(kUnusedCustomButton, kBlankCustomButton);
}

void CTavrinoxDlg::ShowUnitMenuLabels(int menu) {
    const MenuRecord& record = g_menuTable[menu];
    m_titleLabel->SetCaption(record.title);
    for (int button = 0; button < kMenuButtons; ++button) {
        const int target = record.entry[button];
        // 0, 255 and function numbers give no label; only the unit's menus have a short name.
        const bool named = target > 0 && target <= kLastUnitMenu;
        SetMenuButton(button, named ? g_menuTable[target].shortName : kNoLabel);
    }
    SetMenuButton(kReturnButton, IsRootMenu(menu) ? kNoLabel : "Return");
    if (IsCompactModel(SelectedModel())) {
        SetMenuButton(kEffectsButton, "Effects");
        SetMenuButton(kFilesButton, "Files");
        SetMenuButton(kCustomButton, "Custom");
        SetMenuButton(kUserFilesButton, "User Files");
    }
}

int CTavrinoxDlg::FunctionOffset(int button) {
    const int menu = CurrentMenu();
    if (menu == kKeyframeMenu) {
        return g_keyframeFunctionMap[button];
    }
    if (IsCustomMenu(menu)) {
        return g_customFunctionMap[SelectedUnit()][menu - kCustomMenuList][button];
    }
    if (IsUnitMenu(menu)) {
        const int word = g_panelModel.MenuButtonCount() + button;
        if (word < 0 || word >= kMenuEntryWords) {
            return kEmptyFunctionOffset;
        }
        return g_menuTable[menu].entry[word] - kFirstFunctionNumber;
    }
    return kEmptyFunctionOffset;
}

void CTavrinoxDlg::ShowFunctionLabels() {
    const int menu = CurrentMenu();
    if (menu < 0 || menu > kLastCustomMenu) {
        return;
    }
    for (int button = 0; button < kFunctionButtonCount; ++button) {
        ShowFunctionLabel(button, FunctionOffset(button));
    }
}

void CTavrinoxDlg::ShowFunctionLabel(int button, int offset) {
    CImageTextButton* control =
        button >= 0 && button < kFunctionButtonCount ? m_functionButton[button] : nullptr;
    if (control == nullptr) {
        return;
    }
    std::string text = kEmptyFunctionLabel;
    bool lit = false;
    const bool empty = offset == kEmptyFunctionOffset || offset <= 0 || offset >= kFunctionCount ||
                       (SelectedModel() == 4 && offset == kBlankOffsetOfModel4);
    if (!empty) {
        FunctionRecord& record = g_functionTable[offset];
        text = record.label;
        if (record.flags & kFlagMomentary) {
            record.value = 0;
        }
        if (record.optionCount > 1) {
            text = OptionLabel(record.label, record.value);
        }
        lit = record.value != 0 || record.optionCount > 2;
    }
    const int index = lit ? 1 : 0;
    const bool changed = text != control->Caption() || index != control->ImageIndex();
    if (changed || !isVisible()) {
        control->SetCaption(text);
        control->SetImageIndex(index);
        control->show();
        control->repaint();
    }
}

// The menu a unit menu's button leads to, or -1 for none.
int CTavrinoxDlg::MenuTarget(int menu, int button) const {
    if (!IsUnitMenu(menu) || button < 0 || button >= kMenuEntryWords) {
        return -1;
    }
    const int target = g_menuTable[menu].entry[button];
    return target == kNoTarget || target < 0 || target > kLastTargetMenu ? -1 : target;
}

void CTavrinoxDlg::OnMenuButton(int button) {
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
        m_infoBar->update();
        return;
    }
    ShowEnteredMenu(button, old);
}

void CTavrinoxDlg::ReturnToPreviousMenu(int old) {
    const int previous = g_panelModel.m_previousMenu[SelectedUnit()];
    if (!IsRootMenu(old) && previous >= 0 && previous <= kLastCustomMenu) {
        CurrentMenu() = previous;
    }
    m_infoBar->SetMessage(g_idleText);
}

// With the attribute latch the user files button opens the bypass transfer instead.
void CTavrinoxDlg::OpenUserFilesOrBypass() {
    if (AttributeLatchSet()) {
        OpenPanelDialog(kBypassDialog, 0);
        ClearAttributeLatch();
    } else {
        OpenPanelDialog(kFilesDialog, FilesDialogArgument(kFilesUserFilesBit));
    }
}

// In the custom menus buttons 3..6 lead to custom menus 1..4, and button 1 configures the
// menu on show.
void CTavrinoxDlg::ChooseInCustomMenu(int button, int old) {
    if (button >= kFirstCustomButton && button < kFirstCustomButton + kCustomMenuCount - 1) {
        CurrentMenu() = kCustomMenuList + 1 + button - kFirstCustomButton;
    } else if (button == kCustomDialogButton) {
        OpenPanelDialog(kCustomMenuDialog, old - kCustomMenuList);
    }
}

// A unit menu's button leads to the menu of its entry; a menu that stands for a dialog opens
// it, and the title, buttons and knobs stay the old menu's.
void CTavrinoxDlg::FollowMenuEntry(int button, int old) {
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

void CTavrinoxDlg::ShowEnteredMenu(int button, int old) {
    if (CImageTextButton* pressed = m_menuButton[button]) {
        pressed->SetImageIndex(1);
        pressed->repaint();
    }
    static_cast<void>(ReadParameterValues());
    RefreshMenu();
    g_panelModel.m_previousMenu[SelectedUnit()] = old;
    ShowMenuReadout(CurrentMenu());
}

// What the information line shows on entering `menu`: the GPI position in the GPI menus,
// else nothing. A failed read leaves the line as it is.
void CTavrinoxDlg::ShowMenuReadout(int menu) {
    const bool compact = IsCompactModel(SelectedModel());
    if (!(compact && menu == kGpiMonitorMenu) && menu != kGpiStatusMenu) {
        m_infoBar->SetMessage(g_idleText);
        return;
    }
    AnswerBuffer answer{};
    if (ReadGpiStatus(answer) != Status::Ok) {
        return;
    }
    // The compact family's monitor reports the position further into its answer.
    const int first = menu == kGpiStatusMenu ? 0 : kCompactGpiPosition;
    m_infoBar->SetMessage(GpiReadout(AnswerData(answer, first), AnswerData(answer, first + 1)));
}
