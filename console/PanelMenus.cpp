#include "console/PanelMenus.h"

#include "model/PanelModel.h"

namespace {

constexpr int kAltBackgroundMenu = 30;
constexpr int kExtendedBackgroundMenu = 41;
constexpr int kPlainBackgroundMenu = 11;

}  // namespace

bool IsUnitMenu(int menu) {
    return menu >= 0 && menu <= kLastUnitMenu;
}

bool IsCustomMenu(int menu) {
    return menu >= kCustomMenuList && menu <= kLastCustomMenu;
}

int UnitShownMenu(uint8_t statusMenu) {
    return IsUnitMenu(statusMenu) ? statusMenu : 0;
}

int BackgroundMenu() {
    if (FunctionValue(kBackgroundFunction) != 0) {
        return kAltBackgroundMenu;
    }
    return g_extendedMenus ? kExtendedBackgroundMenu : kPlainBackgroundMenu;
}
