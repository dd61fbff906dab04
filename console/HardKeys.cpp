#include "console/HardKeys.h"

#include "model/OptionLabels.h"

namespace {

constexpr ToggleKind kUnit = ToggleKind::UnitSelect;
constexpr ToggleKind kView = ToggleKind::View;
constexpr ToggleKind kShortcut = ToggleKind::MenuShortcut;
constexpr ToggleKind kMemory = ToggleKind::Memory;

constexpr HardKey kHardKeys[] = {
    {kUnit, 1, "UNIT 1"},
    {kUnit, 2, "UNIT 2"},
    {kUnit, 3, "UNIT 3"},
    {kUnit, 4, "UNIT 4"},
    {kView, 129, "VIEW FG"},
    {kView, 130, "VIEW BG"},
    {kView, 132, "VIEW MATTE"},
    {ToggleKind::FileClear, 0, "FILE CLEAR"},
    {kShortcut, 0, "MENU MATTE"},
    {kShortcut, 26, "MENU WND"},
    {kShortcut, 7, "MENU FG"},
    {kShortcut, 18, "MENU MATTE IN/OUT"},
    {ToggleKind::AttributeLatch, 0, "ALT"},
    {kShortcut, 11, "MENU BG"},
    {kShortcut, 15, "MENU CONFIG"},
    {kMemory, 1, "MEM 1"},
    {kMemory, 2, "MEM 2"},
    {kMemory, 3, "MEM 3"},
    {kMemory, 4, "MEM 4"},
    {kMemory, 5, "MEM 5"},
    {ToggleKind::Setup, 0, "PREFS"},
};

}  // namespace

std::span<const HardKey> HardKeys() {
    return kHardKeys;
}

int HardKeyLabelled(const std::string& label) {
    for (size_t i = 0; i < std::size(kHardKeys); ++i) {
        if (SameLabel(label, kHardKeys[i].label)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int HardKeyOf(ToggleKind kind, int number) {
    for (size_t i = 0; i < std::size(kHardKeys); ++i) {
        if (kHardKeys[i].kind == kind && kHardKeys[i].number == number) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool ToggleNeedsUnit(ToggleKind kind) {
    return kind != ToggleKind::UnitSelect && kind != ToggleKind::Setup;
}

bool ToggleNeedsMenus(ToggleKind kind) {
    return kind == ToggleKind::MenuShortcut || kind == ToggleKind::View ||
           kind == ToggleKind::Memory || kind == ToggleKind::FileClear;
}
