#pragma once

#include <string>

#include "actions/ControlActions.h"

// What a press reaches beyond the unit's values: the things only some sources may do.
enum class PanelReach {
    Dialog,     // a modal dialog: it holds the polls and every source until someone closes it
    PortSetup,  // the port setup: the line itself
    FileClear,  // clears the unit's stored files
};

// Why `origin` may not reach `reach`; empty when it may. A network client reaches none of
// them, a control surface no FILE CLEAR: their presses would hold or harm the desk without
// anyone at the panel to see it.
std::string RefusedReach(const ActionOrigin& origin, PanelReach reach);
