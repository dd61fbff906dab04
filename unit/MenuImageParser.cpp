#include "unit/MenuImageParser.h"

#include "link/UnitCommands.h"
#include "model/PanelModel.h"
#include "unit/OnAirLockout.h"

namespace {

constexpr int kExtendedMenu = 40;
constexpr uint8_t kModelWithExtendedMenus = 4;
constexpr int kFirstSteppedParameter = 93;
constexpr int kLastSteppedParameter = 98;
constexpr int kFirstKeyframeFunction = 128;
constexpr int16_t kNoTarget = 255;

bool LacksMenuButtonsThreeAndFour(uint8_t model) {
    return model == 7 || model == 9;
}

uint8_t SelectedModel() {
    return g_unitStatus[kStatusByteModel];
}

void MakeSteppedParameters() {
    for (int number = kFirstSteppedParameter; number <= kLastSteppedParameter; ++number) {
        ParamRecord& record = g_paramTable[number];
        record.flags |= kFlagStepped;
        record.rawMin = record.dispMin;
        record.rawMax = record.dispMax;
    }
}

void RemoveMenuButtonsThreeAndFour() {
    for (int menu : {26, 28}) {
        g_menuTable[menu].entry[3] = kNoTarget;
        g_menuTable[menu].entry[4] = kNoTarget;
    }
}

void RefreshUnitStatus() {
    UnitStatus status{};
    if (IdentifyUnit(g_currentUnitAddress, status) == Status::Ok) {
        g_unitStatus = status;
    }
}

}  // namespace

void SetKeyframeFunctions() {
    const char* const labels[] = {"Insert\r\nKeyframe", "Delete\r\nKeyframe", "Run",
                                  "Velocity\r\nBreak"};
    int offset = kFirstKeyframeFunction;
    for (const char* label : labels) {
        FunctionRecord& record = g_functionTable[offset++];
        record.flags = kFlagMomentary;
        record.minValue = 0;
        record.maxValue = 0;
        record.value = 0;
        record.optionCount = 1;
        record.label = label;
    }
}

MenuImageWalk ParseMenuImage(int unit) {
    if (unit < 0 || unit >= kUnitSlots) {
        return MenuImageWalk::Truncated;
    }
    ClearUnitTables();
    const MenuImageWalk walk =
        WalkMenuImage(g_panelModel.MenuImage(unit), g_panelModel.MenuEntryCount());
    if (SelectsInputsByParameters(SelectedModel())) {
        MakeSteppedParameters();
    }
    // A failed read leaves the tables as the unit last reported them, which is what counts.
    static_cast<void>(ApplyOnAirLockout());
    RefreshUnitStatus();
    if (LacksMenuButtonsThreeAndFour(SelectedModel())) {
        RemoveMenuButtonsThreeAndFour();
    }
    g_extendedMenus =
        g_menuTable[kExtendedMenu].number != 0 && SelectedModel() == kModelWithExtendedMenus;
    SetKeyframeFunctions();
    return walk;
}
