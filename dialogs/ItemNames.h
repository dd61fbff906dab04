#pragma once

#include <QString>
#include <string>
#include <vector>

// The unit's knob parameters and functions as the dialogs offer them for assignment.

// A parameter's name or a function's label on one line: each line break becomes a blank.
QString ItemName(const std::string& text);

struct AssignableItem {
    QString name;
    int value = 0;  // a parameter number, or a function offset (number - 128)
};

// Which items a list offers: all the unit describes, or only those its menu data marked for
// custom menus (flag 0x1000).
enum class ItemChoice { All, MarkedForCustomMenus };

// Named knob parameters (number not 128), in g_paramTable order.
std::vector<AssignableItem> KnobItems(ItemChoice choice);
// Functions 129..254 with their offsets, in g_functionTable order.
std::vector<AssignableItem> ButtonItems(ItemChoice choice);

// The name an item of `items` with `value` shows, or an empty text when there is none.
QString NameOfValue(const std::vector<AssignableItem>& items, int value);
