// The hard keys' work and their lamps: views, menu shortcuts, memories, the attribute latch,
// file clear, and the settings text.
#include "console/HardKeys.h"
#include "console/PanelConsole.h"
#include "console/PanelLamps.h"
#include "console/PanelMenus.h"
#include "console/PanelView.h"
#include "link/CommandExchange.h"
#include "link/LineWork.h"
#include "link/ParameterCommands.h"
#include "link/UnitCommands.h"
#include "platform/Clock.h"

namespace {

// Lamp bits beside bit 0 (unit on line, owned by the poll handler).
constexpr int kPlainLampBytes = 3;  // bytes 0..2 carry no shortcut lamps
constexpr uint8_t kViewBit = 0x02;
constexpr uint8_t kFileClearBit = 0x04;
constexpr uint8_t kShortcutBits = 0x04 | 0x08 | 0x10;
constexpr uint8_t kLatchBit = 0x10;  // of lamp byte 0
constexpr uint8_t kMemoryBit = 0x20;

constexpr int kViews[] = {129, 130, 132};  // lamp bytes 2, 3, 4
constexpr int kFirstViewByte = 2;
constexpr int kFirstMemoryFunction = 216;  // memories 1..5: functions 216..220
constexpr int kMemories = 5;

constexpr int kLatchedClearFunction = 174;
constexpr int kClearFunction = 163;
constexpr uint32_t kBreakSettle_ms = 100;
constexpr uint32_t kBusyPoll_ms = 100;
constexpr uint32_t kAfterClear_ms = 2000;
// A unit clears its files in a few seconds; one still busy after this is not coming back.
constexpr uint32_t kClearFilesLimit_ms = 120000;

// Where the lamp of a menu shortcut lives: lamp byte and bit, by the menu it shows.
struct ShortcutLamp {
    int shortcut;
    int lampByte;
    uint8_t bit;
};
constexpr ShortcutLamp kShortcutLamps[] = {
    {0, 3, 0x04}, {7, 3, 0x08}, {11, 3, 0x10}, {15, 4, 0x10}, {18, 4, 0x08}, {26, 4, 0x04},
};

// The shortcut whose lamp a unit menu lights, or -1.
int ShortcutOfMenu(int menu) {
    switch (menu) {
        case 0:
        case 1:
        case 2:
            return 0;
        case 7:
        case 40:
            return 7;
        case 11:
        case 30:
        case 41:
            return 11;
        case 15:
        case 18:
        case 26:
            return menu;
        default:
            return -1;
    }
}

const ShortcutLamp* LampOfShortcut(int shortcut) {
    for (const ShortcutLamp& lamp : kShortcutLamps) {
        if (lamp.shortcut == shortcut) {
            return &lamp;
        }
    }
    return nullptr;
}

// The menu a shortcut leads to on this unit.
int ShortcutTarget(int shortcut) {
    switch (shortcut) {
        case 0:
            return UnitShownMenu(g_unitStatus[kStatusByteMenu]);
        case 7:
            return g_extendedMenus ? 40 : 7;
        case 11:
            return BackgroundMenu();
        default:
            return shortcut;
    }
}

}  // namespace

bool PanelConsole::AttributeLatchSet() const {
    return (g_panelModel.m_lampBits[0] & kLatchBit) != 0;
}

void PanelConsole::ClearAttributeLatch() {
    g_panelModel.m_lampBits[0] &= static_cast<uint8_t>(~kLatchBit);
    m_view.ShowHardKey(HardKeyOf(ToggleKind::AttributeLatch, 0), false);
}

void PanelConsole::FlipAttributeLatch() {
    g_panelModel.m_lampBits[0] ^= kLatchBit;
    m_view.ShowHardKey(HardKeyOf(ToggleKind::AttributeLatch, 0), AttributeLatchSet());
}

void PanelConsole::SetLampBits(bool full) {
    uint8_t* lamps = g_panelModel.m_lampBits;
    for (int n = 0; n < kPlainLampBytes; ++n) {
        lamps[n] &= kOnLineBit;
    }
    const uint8_t kept = full ? kOnLineBit | kShortcutBits : kOnLineBit;
    lamps[3] &= kept;
    lamps[4] &= kept;
    if (const ShortcutLamp* lamp =
            LampOfShortcut(ShortcutOfMenu(g_panelModel.m_unitMenu[SelectedUnit()]))) {
        lamps[lamp->lampByte] |= lamp->bit;
    }
    g_panelModel.m_viewSelect = kNoView;
    for (int i = 0; i < 3; ++i) {
        if (FunctionValue(kViews[i]) != 0) {
            lamps[kFirstViewByte + i] |= kViewBit;
            g_panelModel.m_viewSelect = kViews[i];
            break;
        }
    }
    for (int n = 0; n < kMemories; ++n) {
        if (FunctionValue(kFirstMemoryFunction + n) != 0) {
            lamps[n] |= kMemoryBit;
        }
    }
}

bool PanelConsole::LampLit(int key) const {
    const uint8_t* lamps = g_panelModel.m_lampBits;
    const int number = HardKeys()[key].number;
    switch (HardKeys()[key].kind) {
        case ToggleKind::UnitSelect:
            return number == SelectedUnit();
        case ToggleKind::View:
            for (int i = 0; i < 3; ++i) {
                if (kViews[i] == number) {
                    return (lamps[kFirstViewByte + i] & kViewBit) != 0;
                }
            }
            return false;
        case ToggleKind::FileClear:
            return (lamps[0] & kFileClearBit) != 0;
        case ToggleKind::MenuShortcut: {
            const ShortcutLamp* lamp = LampOfShortcut(number);
            return lamp != nullptr && (lamps[lamp->lampByte] & lamp->bit) != 0;
        }
        case ToggleKind::AttributeLatch:
            return (lamps[0] & kLatchBit) != 0;
        case ToggleKind::Memory:
            return number >= 1 && number <= kMemories && (lamps[number - 1] & kMemoryBit) != 0;
        default:
            return false;
    }
}

void PanelConsole::UpdateLamps(bool full) {
    SetLampBits(full);
    m_view.ShowLamps();
}

void PanelConsole::SelectView(int functionNumber) {
    int viewByte = -1;
    for (int i = 0; i < 3; ++i) {
        g_panelModel.m_lampBits[kFirstViewByte + i] &= static_cast<uint8_t>(~kViewBit);
        if (kViews[i] == functionNumber) {
            viewByte = i;
        }
    }
    if (viewByte < 0) {
        return;
    }
    const auto number = static_cast<uint8_t>(functionNumber);
    if (functionNumber == g_panelModel.m_viewSelect) {
        static_cast<void>(SetParameterByte(number, 0));
        g_panelModel.m_viewSelect = kNoView;
    } else {
        g_panelModel.m_viewSelect = functionNumber;
        static_cast<void>(SetParameterByte(number, 1));
    }
    UpdateLamps(false);
    ShowFunctionLabels();
    BindKnobs();
}

void PanelConsole::SelectShortcut(int menu) {
    const int unit = SelectedUnit();
    const int old = g_panelModel.m_currentMenu[unit];
    if (menu == old) {
        UpdateLamps(false);
        return;
    }
    const int target = ShortcutTarget(menu);
    g_panelModel.m_currentMenu[unit] = target;
    g_panelModel.m_unitMenu[unit] = target;
    ShowMessage(g_idleText);
    static_cast<void>(ReadParameterValues());
    UpdateLamps(false);
    RefreshMenu();
    g_panelModel.m_previousMenu[unit] = old;
}

void PanelConsole::RecallMemory(int memory) {
    if (memory < 1 || memory > kMemories) {
        return;
    }
    const auto recall = static_cast<uint8_t>(kFirstMemoryFunction - 1 + memory);
    if (AttributeLatchSet()) {
        // With the latch the memory's function indicator goes off with it.
        static_cast<void>(SetParameterByte(static_cast<uint8_t>(kIconFunctions[memory - 1]), 0));
        static_cast<void>(SetParameterByte(recall, 0));
        static_cast<void>(ReadParameterValues());
        UpdateLamps(true);
        RefreshSettings();
    } else {
        static_cast<void>(SetParameterByte(recall, 0));
        static_cast<void>(ReadParameterValues());
        UpdateLamps(true);
        RefreshMenu();
        RefreshSettings();
    }
    ClearAttributeLatch();
}

// Identifies the unit every 100 ms while it reports itself busy. True when it answered and
// is no longer busy; false when it stopped answering or was still busy at the limit.
bool PanelConsole::WaitWhileBusy() {
    const uint32_t start_ms = CurrentClock().TickCount();
    while (true) {
        // A unit that does not answer leaves the status cleared, which ends the wait.
        static_cast<void>(IdentifySelectedUnit());
        if (!(g_unitStatus[kStatusByteFlags] & kStatusBusy)) {
            return g_unitStatus[kStatusByteModel] != 0;
        }
        const uint32_t waited_ms = CurrentClock().TickCount() - start_ms;
        if (waited_ms >= kClearFilesLimit_ms) {
            return false;
        }
        ShowMessage("Main Unit " + std::to_string(SelectedUnit()) +
                    " clears its files: " + std::to_string(waited_ms / 1000) + " s of " +
                    std::to_string(kClearFilesLimit_ms / 1000) + " s");
        Wait(kBusyPoll_ms);
    }
}

void PanelConsole::ClearFiles() {
    // Lit on the screen before the long clear starts.
    m_view.ShowHardKey(HardKeyOf(ToggleKind::FileClear, 0), true);
    const LineWork work("FILE CLEAR");
    const std::string message = Message();
    ShowAlert("File Clear In Process ...");
    const int function = AttributeLatchSet() ? kLatchedClearFunction : kClearFunction;
    static_cast<void>(SendParameterByteNoAnswer(static_cast<uint8_t>(function), 1));
    Wait(kBreakSettle_ms);
    static_cast<void>(SendLineBreak());
    Wait(kBreakSettle_ms);
    const bool ready = WaitWhileBusy();
    ShowMessage(message);
    Wait(kBreakSettle_ms);
    static_cast<void>(SendLineBreak());
    Wait(kAfterClear_ms);
    static_cast<void>(DrainInput());
    // A unit that is gone or still busy is not asked again: each read would wait it out.
    const bool reread = ready && ReadParameterValues() == Status::Ok;
    if (!reread) {
        m_view.ShowMessageBox("Communication Error: Function did not complete!");
    }
    g_panelModel.m_viewSelect = kNoView;
    UpdateLamps(true);
    RefreshMenu();
    m_view.ShowReadouts(SelectedUnit());
    if (reread) {
        RefreshSettings();
    }
    ShowAlert(g_idleText);
}

void PanelConsole::RefreshSettings() {
    std::string text;
    if (ReadSettingsLabel(text) == Status::Ok) {
        m_settingsLabel = text;
        m_view.ShowSettings(text);
    }
}
