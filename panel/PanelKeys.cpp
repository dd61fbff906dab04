#include "panel/PanelKeys.h"

#include <QKeySequence>

namespace {

using enum PanelKeyTarget;

constexpr PanelKey kPanelKeys[] = {
    {Unit, 1, Qt::CTRL | Qt::Key_1},     {Unit, 2, Qt::CTRL | Qt::Key_2},
    {Unit, 3, Qt::CTRL | Qt::Key_3},     {Unit, 4, Qt::CTRL | Qt::Key_4},
    {MenuButton, 0, Qt::Key_1},          {MenuButton, 1, Qt::Key_2},
    {MenuButton, 2, Qt::Key_3},          {MenuButton, 3, Qt::Key_4},
    {MenuButton, 4, Qt::Key_5},          {MenuButton, 5, Qt::Key_6},
    {MenuButton, 6, Qt::Key_7},          {MenuButton, 7, Qt::Key_8},
    {MenuButton, 8, Qt::Key_9},          {MenuButton, 9, Qt::Key_0},
    {FunctionButton, 0, Qt::Key_F1},     {FunctionButton, 1, Qt::Key_F2},
    {FunctionButton, 2, Qt::Key_F3},     {FunctionButton, 3, Qt::Key_F4},
    {FunctionButton, 4, Qt::Key_F5},     {FunctionButton, 5, Qt::Key_F6},
    {Memory, 1, Qt::SHIFT | Qt::Key_F1}, {Memory, 2, Qt::SHIFT | Qt::Key_F2},
    {Memory, 3, Qt::SHIFT | Qt::Key_F3}, {Memory, 4, Qt::SHIFT | Qt::Key_F4},
    {Memory, 5, Qt::SHIFT | Qt::Key_F5}, {AttributeLatch, 0, Qt::Key_A},
};

QString KeyName(const PanelKey& entry) {
    return QKeySequence(entry.key).toString(QKeySequence::NativeText);
}

}  // namespace

std::span<const PanelKey> PanelKeys() {
    return kPanelKeys;
}

const PanelKey* FindPanelKey(QKeyCombination pressed) {
    const QKeyCombination key(pressed.keyboardModifiers() & ~Qt::KeypadModifier, pressed.key());
    for (const PanelKey& entry : kPanelKeys) {
        if (entry.key == key) {
            return &entry;
        }
    }
    return nullptr;
}

ToggleKind ToggleKindOf(PanelKeyTarget target) {
    switch (target) {
        case Unit:
            return ToggleKind::UnitSelect;
        case Memory:
            return ToggleKind::Memory;
        case AttributeLatch:
            return ToggleKind::AttributeLatch;
        case MenuButton:
        case FunctionButton:
            break;
    }
    return ToggleKind::None;
}

QString PanelKeyName(PanelKeyTarget target, int number) {
    for (const PanelKey& entry : kPanelKeys) {
        if (entry.target == target && entry.number == number) {
            return KeyName(entry);
        }
    }
    return {};
}

QString ToggleKeyName(ToggleKind kind, int number) {
    for (const PanelKey& entry : kPanelKeys) {
        if (kind != ToggleKind::None && ToggleKindOf(entry.target) == kind &&
            entry.number == number) {
            return KeyName(entry);
        }
    }
    return {};
}
