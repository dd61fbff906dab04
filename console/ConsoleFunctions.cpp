// The function buttons: each press steps a function parameter on the unit.
#include "console/PanelConsole.h"
#include "console/PanelDialogKinds.h"
#include "console/PanelMenus.h"
#include "console/PanelView.h"
#include "link/ParameterCommands.h"
#include "platform/Clock.h"

namespace {

constexpr uint32_t kLatchSettle_ms = 500;
constexpr uint32_t kMomentaryHold_ms = 1000;
constexpr int kTakeOffset = 31;  // function 159 sends a press and a release
constexpr int kBackgroundOffset = kBackgroundFunction - kFirstFunctionNumber;
constexpr int kLastUnitFunctionOffset = 126;

bool IsUnitFunction(int offset) {
    return offset > 0 && offset <= kLastUnitFunctionOffset;
}

}  // namespace

// One step of a function: up by one, from its maximum round to its minimum, sent at once.
void PanelConsole::StepFunction(int offset) {
    FunctionRecord& record = g_functionTable[offset];
    int value = record.value + 1;
    if (value > record.maxValue) {
        value = record.minValue;
    }
    record.value = static_cast<int16_t>(value);
    static_cast<void>(SetParameterByte(static_cast<uint8_t>(offset + kFirstFunctionNumber),
                                       static_cast<uint8_t>(value)));
}

void PanelConsole::LightFunctionButton(int button) {
    m_face.functionButtons[button].lit = true;
    ShowFace();
}

void PanelConsole::OnFunctionButton(int button) {
    if (SelectedModel() == 0 || button < 0 || button >= kFunctionButtonCount) {
        return;
    }
    const int menu = CurrentMenu();
    if (menu < 0) {
        return;  // the menus are not loaded
    }
    if (AttributeLatchSet()) {
        // The press takes the latch in every menu; the attributes are a unit function's.
        Wait(kLatchSettle_ms);
        const int offset = FunctionOffset(SelectedUnit(), CurrentMenu(), button);
        if (IsUnitFunction(offset)) {
            OpenPanelDialog(kAttributeDialog, offset + kFirstFunctionNumber);
        }
        ClearAttributeLatch();
        return;
    }
    if (menu == kKeyframeMenu) {
        OnKeyframeButton(button);
        return;
    }
    const int offset = FunctionOffset(SelectedUnit(), menu, button);
    if (!IsUnitFunction(offset)) {
        return;
    }
    const bool momentary = (g_functionTable[offset].flags & kFlagMomentary) != 0;
    if (momentary || offset == kTakeOffset) {
        LightFunctionButton(button);
    }
    StepFunction(offset);
    const bool menuChanges = offset == kBackgroundOffset;
    if (menuChanges) {
        CurrentMenu() = BackgroundMenu();
    }
    if (momentary) {
        Wait(kMomentaryHold_ms);
    }
    if (offset == kTakeOffset) {
        Wait(kMomentaryHold_ms);
        StepFunction(offset);
    }
    if (CheckUnitStatus() != StatusCheck::ValuesReadAnew) {
        UpdateLamps(true);
        RefreshMenu();
    } else if (menuChanges) {
        // The status refresh leaves the menu buttons alone; they must name the new menu.
        ShowMenuLabels();
    }
}
