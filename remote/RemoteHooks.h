#pragma once

#include <QHostAddress>
#include <functional>
#include <optional>
#include <string>

#include "actions/ControlActions.h"
#include "actions/PanelState.h"
#include "remote/ClientAllowList.h"

#include <memory>

#include "remote/HostAccounts.h"

// What a server needs of the panel: its named actions, the state it shows now, and a way to
// tell the user that a client came, left or was dropped. `cannotListen`, when set, hears why
// a server could not take its port ("TCP port 7401 on 127.0.0.1 cannot be opened: ..."), for
// the panel to show until the settings are applied again.
struct RemoteHooks {
    ControlActions* actions = nullptr;
    std::function<PanelState()> currentState;
    std::function<void(const std::string& message)> note;
    std::function<void(const std::string& problem)> cannotListen;
};

// Where a server listens and whom it answers.
struct ServerOptions {
    QHostAddress address = QHostAddress::LocalHost;
    quint16 port = 0;  // 0: a free port, read back after listening
    ClientAllowList allowList;
    bool readOnly = false;
    // The hosts' accounts; servers started with copies of the same options share them.
    std::shared_ptr<HostAccounts> accounts = std::make_shared<HostAccounts>();
};

// Why `server` ("TCP", "OSC") could not take `port` on `address`, as the settings show it.
std::string ListenProblem(const char* server, const ServerOptions& options,
                          const std::string& error);
// The information line's word for the servers whose ports could not be taken, short enough
// for the line, the settings saying why: "cannot open TCP port 7401.", "cannot open TCP and
// OSC ports."; empty when neither is given.
std::string UnboundPortsLine(std::optional<int> tcpPort, std::optional<int> oscPort);
