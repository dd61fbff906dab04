#pragma once

#include <cstdio>

#include "console/PanelConsole.h"
#include "panel/CTavrinoxDlg.h"
#include "tests/support/RunEventsUntil.h"

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
