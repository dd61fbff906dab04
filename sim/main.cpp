// vcp-sim: a line of simulated Main Units on a pseudo-terminal, a TCP port or a serial device.
#include <signal.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <memory>

#include "sim/line/LineEndpoints.h"
#include "sim/line/LineServer.h"
#include "sim/line/SimOptions.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnStopSignal(int) {
    g_stop = 1;
}

void InstallStopSignals() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
}

std::unique_ptr<LineEndpoint> OpenEndpoint(const SimOptions& options, std::string& target,
                                           std::string& error) {
    switch (options.serveOn) {
        case ServeOn::Pty: {
            auto pty = PtyEndpoint::Create(options.path, error);
            target = options.path;
            return pty;
        }
        case ServeOn::Tcp: {
            auto tcp = TcpEndpoint::Create(options.port, error);
            if (tcp) {
                target = "tcp://127.0.0.1:" + std::to_string(tcp->Port());
            }
            return tcp;
        }
        case ServeOn::Device:
            target = options.path;
            return DeviceEndpoint::Create(options.path, error);
        case ServeOn::Nothing:
            break;
    }
    error = "nowhere to serve";
    return nullptr;
}

bool ReadScript(const std::string& path, std::vector<std::string>& lines) {
    std::ifstream in(path);
    if (!in) {
        return false;
    }
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options = ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "vcp-sim: %s\n\n%s", error.c_str(), SimUsageText().c_str());
        return 2;
    }
    if (options->help) {
        std::printf("%s", SimUsageText().c_str());
        return 0;
    }
    const auto entries = ParseUnitList(options->units, error);
    if (!entries) {
        std::fprintf(stderr, "vcp-sim: --units: %s\n", error.c_str());
        return 2;
    }
    std::vector<std::string> script;
    if (!options->scriptPath.empty() && !ReadScript(options->scriptPath, script)) {
        std::fprintf(stderr, "vcp-sim: cannot read the script %s\n", options->scriptPath.c_str());
        return 2;
    }

    InstallStopSignals();
    std::string target;
    std::unique_ptr<LineEndpoint> endpoint = OpenEndpoint(*options, target, error);
    if (!endpoint) {
        std::fprintf(stderr, "vcp-sim: %s\n", error.c_str());
        return 1;
    }
    SimLine line(*entries);
    line.SetAnswerDelay(options->answerDelay_ms);
    LineServer server(line, *endpoint);
    server.SetScript(std::move(script));
    server.ReadControlFrom(STDIN_FILENO);
    // The script's opening state is in place before anyone is told the line is ready.
    server.RunDueScript();

    std::printf("ready %s\n", target.c_str());
    std::fflush(stdout);
    return server.Run(g_stop);
}
