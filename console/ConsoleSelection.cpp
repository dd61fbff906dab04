// Selecting a unit and bringing the panel up to date with its menus.
#include <cstdio>

#include "console/PanelConsole.h"
#include "console/PanelMenus.h"
#include "console/PanelTimers.h"
#include "console/PanelView.h"
#include "link/LineWork.h"
#include "link/ParameterCommands.h"
#include "link/UnitCommands.h"
#include "unit/MenuImageDownload.h"
#include "unit/MenuImageParser.h"

namespace {

// Router settings a unit takes when it is selected.
constexpr uint8_t kRouterPolarityFunction = 214;
constexpr uint8_t kRouterDwellParameter = 114;
constexpr uint8_t kRouterEnableFunction = 211;

}  // namespace

void PanelConsole::SelectUnit(int unit) {
    if (unit < 1 || unit > kActionUnits) {
        return;
    }
    const UnitStatus& status = m_pollHandler.StatusOf(unit);
    if (unit == SelectedUnit()) {
        g_panelModel.m_lampBits[unit] |= kOnLineBit;
        return;
    }
    if (status[kStatusByteModel] == 0) {
        return;
    }
    if (status[kStatusByteFlags] & kStatusBootMode) {
        char text[128];
        std::snprintf(text, sizeof text, "Main Unit %d not programmed OR in Boot Mode!", unit);
        ShowAlert(text);
        return;
    }
    g_panelModel.m_lampBits[unit] |= kOnLineBit;
    g_currentUnitAddress = AddressOfUnit(unit);
    m_statusHeld = false;
    m_linkLostShown = false;
    // The reads another unit kept failing say nothing of this one.
    m_failedValueTicks = 0;
    m_valuesUnread = false;
    // A unit that falls silent during its retrieval is not sent the router settings either.
    const LineWork work("selecting unit " + std::to_string(unit));
    RetrieveMenus();
    SendRouterSettings();
}

void PanelConsole::SendRouterSettings() {
    if (g_panelModel.m_routerEnabled != "TRUE") {
        return;
    }
    static_cast<void>(
        SetParameterByte(kRouterPolarityFunction, g_panelModel.m_routerPolarity == "LOW" ? 0 : 1));
    static_cast<void>(
        SetParameterWord(kRouterDwellParameter, static_cast<uint16_t>(g_panelModel.m_dwellFrames)));
    static_cast<void>(SetParameterByte(kRouterEnableFunction, 1));
}

// The unit's menus count as not retrieved, so its next answered status poll fetches them
// again, image and all.
void PanelConsole::ShowRetrievalFailed(int unit) {
    g_panelModel.MarkImageNotLoaded(unit);
    g_panelModel.m_currentMenu[unit] = -1;
    g_panelModel.m_unitMenu[unit] = -1;
    ShowMessage(g_idleText);
    ShowAlert("Error retrieving menus!");
}

void PanelConsole::RetrieveMenus() {
    const int unit = SelectedUnit();
    if (unit == 0) {
        return;
    }
    // A unit that has fallen silent is read no further: each read would wait out its
    // patience. Its status poll fetches the menus again once it answers.
    if (IdentifySelectedUnit() == Status::NoAnswer) {
        ShowRetrievalFailed(unit);
        return;
    }
    if (!g_panelModel.IsImageLoaded(unit)) {
        ShowMessage("Retrieving Menus from Main Unit!");
        if (DownloadMenuImage(unit) != Status::Ok) {
            ShowRetrievalFailed(unit);
            return;
        }
        const int shown = UnitShownMenu(g_unitStatus[kStatusByteMenu]);
        g_panelModel.m_currentMenu[unit] = shown;
        g_panelModel.m_previousMenu[unit] = shown;
        g_panelModel.m_unitMenu[unit] = shown;
    }
    ParseMenuImage(unit);
    ReadUnitValues();
    static_cast<void>(ReadReferenceValues());
    g_panelModel.m_pollMissCount = 0;
    static_cast<void>(IdentifySelectedUnit());
    ShowMessage(g_idleText);
    ShowAlert(g_idleText);
    m_linkLostShown = false;

    m_view.ShowModelBadge();
    UpdateLamps(false);
    ShowMenuLabels();
    ShowFunctionLabels();
    BindKnobs();
    m_view.ShowReadouts(unit);
    RefreshSettings();
    m_view.StopTimer(kKeyScanTimer);
    m_view.StartTimer(kPromptTimer, kPromptPeriod_ms);
}
