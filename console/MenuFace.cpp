#include "console/MenuFace.h"

#include <cstdio>

#include "console/MenuButtons.h"
#include "console/PanelMenus.h"
#include "model/OptionLabels.h"

namespace {

constexpr int kBlankOffsetOfModel4 = 126;

const char* const kNoLabel = "     ";
const char* const kBlankCustomButton = "       ";
const char* const kCurrentCustomButton = "         ";
const char* const kEmptyFunctionLabel = " ";

std::string Formatted(const char* format, int value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

void SetCaption(MenuFace& face, int button, const std::string& text) {
    face.menuButtons[button] = {text, false};
}

void FillKeyframeMenu(MenuFace& face) {
    face.title = "Effect Menu";
    SetCaption(face, kReturnButton, "Return");
    for (int button = 1; button < kConfigureButton; ++button) {
        SetCaption(face, button, "");
    }
    SetCaption(face, kConfigureButton, "Configure");
}

// Custom menus on offer: three on the compact family, four on the full one.
int CustomMenuCountOf(uint8_t model) {
    return IsCompactModel(model) ? 3 : 4;
}

void FillCustomMenu(MenuFace& face, int menu, uint8_t model) {
    face.title = menu == kCustomMenuList ? "Custom Menu"
                                         : Formatted("Custom Menu %d", menu - kCustomMenuList);
    const int count = CustomMenuCountOf(model);
    for (int custom = 1; custom <= count; ++custom) {
        const bool current = menu == kCustomMenuList + custom;
        SetCaption(face, kFirstCustomButton + custom - 1,
                   current ? kCurrentCustomButton : Formatted("Custom %d", custom));
    }
    SetCaption(face, kReturnButton, "Return");
    if (menu == kCustomMenuList) {
        SetCaption(face, kCustomDialogButton, model == 4 ? "By Pass" : kBlankCustomButton);
    } else {
        SetCaption(face, kCustomDialogButton, "Configure");
    }
    SetCaption(face, kUnusedCustomButton, kBlankCustomButton);
}

void FillUnitMenu(MenuFace& face, int menu, uint8_t model) {
    const MenuRecord& record = g_menuTable[menu];
    face.title = record.title;
    for (int button = 0; button < kMenuButtons; ++button) {
        const int target = record.entry[button];
        // 0, 255 and function numbers give no label; only the unit's menus have a short name.
        const bool named = target > 0 && target <= kLastUnitMenu;
        SetCaption(face, button, named ? g_menuTable[target].shortName : kNoLabel);
    }
    SetCaption(face, kReturnButton, IsRootMenu(menu) ? kNoLabel : "Return");
    if (IsCompactModel(model)) {
        SetCaption(face, kEffectsButton, "Effects");
        SetCaption(face, kFilesButton, "Files");
        SetCaption(face, kCustomButton, "Custom");
        SetCaption(face, kUserFilesButton, "User Files");
    }
}

ButtonState FunctionButtonFace(int offset, uint8_t model) {
    const bool empty = offset == kEmptyFunctionOffset || offset <= 0 || offset >= kFunctionCount ||
                       (model == 4 && offset == kBlankOffsetOfModel4);
    if (empty) {
        return {kEmptyFunctionLabel, false};
    }
    const FunctionRecord& record = g_functionTable[offset];
    const std::string text =
        record.optionCount > 1 ? OptionLabel(record.label, record.value) : record.label;
    return {text, record.value != 0 || record.optionCount > 2};
}

}  // namespace

bool IsRootMenu(int menu) {
    return menu == 0 || menu == 7 || menu == 11 || menu == 18 || menu == 26 || menu == 30;
}

int FunctionOffset(int unit, int menu, int button) {
    if (button < 0 || button >= kFunctionButtonCount) {
        return kEmptyFunctionOffset;
    }
    if (menu == kKeyframeMenu) {
        return g_keyframeFunctionMap[button];
    }
    if (IsCustomMenu(menu) && unit >= 0 && unit < kUnitSlots) {
        return g_customFunctionMap[unit][menu - kCustomMenuList][button];
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

void PutMenuLabels(MenuFace& face, int menu, uint8_t model) {
    if (menu == kKeyframeMenu) {
        FillKeyframeMenu(face);
    } else if (IsCustomMenu(menu)) {
        FillCustomMenu(face, menu, model);
    } else if (IsUnitMenu(menu)) {
        FillUnitMenu(face, menu, model);
    }
}

void PutFunctionLabels(MenuFace& face, int unit, int menu, uint8_t model) {
    if (menu < 0 || menu > kLastCustomMenu) {
        return;
    }
    for (int button = 0; button < kFunctionButtonCount; ++button) {
        face.functionButtons[button] =
            FunctionButtonFace(FunctionOffset(unit, menu, button), model);
    }
}
