#pragma once

#include <QHostAddress>
#include <functional>
#include <string>

#include "actions/ControlActions.h"
#include "actions/PanelState.h"
#include "remote/ClientAllowList.h"

// What a server needs of the panel: its named actions, the state it shows now, and a way to
// tell the user that a client came, left or was dropped.
struct RemoteHooks {
    ControlActions* actions = nullptr;
    std::function<PanelState()> currentState;
    std::function<void(const std::string& message)> note;
};

// Where a server listens and whom it answers.
struct ServerOptions {
    QHostAddress address = QHostAddress::LocalHost;
    quint16 port = 0;  // 0: a free port, read back after listening
    ClientAllowList allowList;
    bool readOnly = false;
};
