#include "remote/RemoteHooks.h"

std::string ListenProblem(const char* server, const ServerOptions& options,
                          const std::string& error) {
    return std::string(server) + " port " + std::to_string(options.port) + " on " +
           options.address.toString().toStdString() + " cannot be opened: " + error;
}

std::string UnboundPortsLine(std::optional<int> tcpPort, std::optional<int> oscPort) {
    if (tcpPort && oscPort) {
        return "cannot open TCP and OSC ports.";
    }
    if (tcpPort || oscPort) {
        return std::string("cannot open ") + (tcpPort ? "TCP" : "OSC") + " port " +
               std::to_string(tcpPort ? *tcpPort : *oscPort) + ".";
    }
    return {};
}
