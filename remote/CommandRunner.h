#pragma once

#include <string>

#include "actions/ControlActions.h"
#include "actions/PanelState.h"
#include "remote/RemoteCommand.h"

// Carries out a client's command through the panel's named actions, so it takes the same
// exchanges and obeys the same rules as the mouse, and answers it. Changes are refused in
// read-only mode; what no client may reach (FILE CLEAR, the dialogs, the port setup) the
// panel's actions refuse by the command's origin. Reads come from the panel's state and, for
// parameters no knob shows, from the selected unit's parameter table as the polls keep it.
//
// SUBSCRIBE, UNSUBSCRIBE and QUIT are answered here; the transport does what they ask.

struct RemoteAnswer {
    bool ok = true;
    std::string text;  // what follows OK, or the reason after ERR

    static RemoteAnswer Ok(std::string text = {}) { return {true, std::move(text)}; }
    static RemoteAnswer Error(std::string why) { return {false, std::move(why)}; }
    // "OK ..." or "ERR ...", as the line protocol writes it (without the end of line).
    std::string Line() const;
};

struct CommandContext {
    ControlActions& actions;
    const PanelState& state;  // the panel as it shows now
    ActionOrigin origin;
    bool readOnly = false;
};

extern const char* const kReadOnlyReason;

RemoteAnswer RunCommand(const RemoteCommand& command, const CommandContext& context);
