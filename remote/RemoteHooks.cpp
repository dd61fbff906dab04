#include "remote/RemoteHooks.h"

std::string ListenProblem(const char* server, const ServerOptions& options,
                          const std::string& error) {
    return std::string(server) + " port " + std::to_string(options.port) + " on " +
           options.address.toString().toStdString() + " cannot be opened: " + error;
}
