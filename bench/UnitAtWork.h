#pragma once

#include <cstdio>

#include "console/PanelConsole.h"
#include "panel/CTavrinoxDlg.h"
#include "tests/support/RunEventsUntil.h"
#include "tests/support/SimProcess.h"

// vcp-sim serving `units` on a pseudo-terminal, the program's records fresh and the panel
// set to run on that line; false (and said) when the simulator does not start.
inline bool StartLineOfUnits(SimProcess& sim, const char* units) {
    if (!sim.Start(units)) {
        std::fprintf(stderr, "vcp-sim did not start\n");
        return false;
    }
    ResetProgramState();
    CTavrinoxDlg::SetRunPort(sim.LinePath());
    return true;
}

// Selects unit 1 on `panel` and waits, at most 15 s, until its menus are in and no alert
// stands; false (and said) when it does not come to that.
inline bool SelectUnitOneAndWait(CTavrinoxDlg& panel) {
    panel.Console().SelectUnit(1);
    const bool atWork = RunEventsUntil(
        [&] {
            return panel.SelectedUnit() == 1 && g_panelModel.m_currentMenu[1] != -1 &&
                   panel.Console().Alert().empty();
        },
        15000);
    if (!atWork) {
        std::fprintf(stderr, "unit 1 was not selected and retrieved\n");
    }
    return atWork;
}
