// vcp-probe: talks to a line of units with the panel's own link and commands.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "link/SerialCom.h"
#include "model/PanelModel.h"
#include "platform/PortNames.h"
#include "platform/SerialPorts.h"
#include "sim/line/BuiltinSimulator.h"
#include "tools/probe/ProbeCommand.h"
#include "tools/probe/TraceFile.h"

namespace {

// What a command can end with; a presence poll's yield to the panel's user never happens here.
constexpr Status kExitStatuses[] = {
    Status::Ok,          Status::NoAnswer,  Status::WrongLength,
    Status::WriteFailed, Status::WrongCode, Status::NoLength,
    Status::NoCode,      Status::CutShort,  Status::MenuDataOverflow,
};

// The one command that looks at this machine instead of a line.
const char* const kPortsCommand = "ports";

const std::vector<ProbeCommand>& AllCommands() {
    static const std::vector<ProbeCommand> all = [] {
        std::vector<ProbeCommand> commands = UnitProbeCommands();
        commands.insert(commands.end(), StorageProbeCommands().begin(),
                        StorageProbeCommands().end());
        return commands;
    }();
    return all;
}

void PrintUsage(std::FILE* to) {
    std::fprintf(to,
                 "usage: vcp-probe --port PORT [--trace FILE] [--unit N] COMMAND [ARGS]\n"
                 "       vcp-probe [--root DIR] ports\n"
                 "PORT: COM1..COM16, a device path, tcp://host:port (raw bytes),\n"
                 "rfc2217://host:port (a device server that also takes line settings and\n"
                 "BREAK), or inproc:sim (the built-in simulated line)\n"
                 "ports lists this machine's serial ports: device, stable name, driver and a USB\n"
                 "adapter's latency timer; --root DIR reads DIR/dev and DIR/sys instead\n"
                 "commands:\n");
    for (const ProbeCommand& command : AllCommands()) {
        std::fprintf(to, "  vcp-probe --port PORT %s\n", command.usage);
    }
    std::fprintf(to, "The exit status is the command's status code (%d for a usage error):\n",
                 kUsageError);
    for (const Status status : kExitStatuses) {
        std::fprintf(to, "  %3d %s%s\n", ExitStatus(status), StatusText(status),
                     status == Status::WriteFailed ? ", or the port did not open" : "");
    }
}

struct Options {
    std::string port;
    std::string root;
    std::string tracePath;
    std::string commandName;
    ProbeRequest request;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) {
                return false;
            }
            into = argv[++i];
            return true;
        };
        std::string unitText;
        if (arg == "--port") {
            if (!value(options.port)) {
                return false;
            }
        } else if (arg == "--trace") {
            if (!value(options.tracePath)) {
                return false;
            }
        } else if (arg == "--root") {
            if (!value(options.root)) {
                return false;
            }
        } else if (arg == "--raw") {
            if (!value(options.request.rawPath)) {
                return false;
            }
        } else if (arg == "--unit") {
            if (!value(unitText)) {
                return false;
            }
            char* end = nullptr;
            const long unit = std::strtol(unitText.c_str(), &end, 10);
            if (*end != '\0' || unit < 1 || unit > 4) {
                std::fprintf(stderr, "vcp-probe: --unit takes 1..4\n");
                return false;
            }
            options.request.unit = static_cast<int>(unit);
        } else if (options.commandName.empty() && arg.rfind("--", 0) != 0) {
            options.commandName = arg;
        } else if (!options.commandName.empty()) {
            options.request.args.push_back(arg);
        } else {
            std::fprintf(stderr, "vcp-probe: unknown option %s\n", arg.c_str());
            return false;
        }
    }
    if (options.commandName == kPortsCommand) {
        return options.request.args.empty();
    }
    return !options.port.empty() && !options.commandName.empty();
}

SystemFolders FoldersUnder(const std::string& root) {
    SystemFolders folders;
    if (!root.empty()) {
        folders.dev = root + "/dev";
        folders.sys = root + "/sys";
        folders.proc = root + "/proc";
    }
    return folders;
}

// Opens the link as the panel does, on the named port. COMn goes through the port map;
// anything else is this run's override.
bool OpenLink(const std::string& port) {
    if (port == std::string("inproc:") + kBuiltinLineName) {
        RegisterBuiltinSimulator(kDefaultUnitList);
    }
    int number = ComNumberOf(port);
    if (number == 0) {
        PortNames().SetRunOverride(port);
        number = 1;
    }
    g_panelModel.m_portNumber = number;
    if (!ReopenPort(number)) {
        ShowPortFailure(g_link.LastFailure());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        PrintUsage(stdout);
        return 0;
    }
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        PrintUsage(stderr);
        return kUsageError;
    }
    if (options.commandName == kPortsCommand) {
        return PrintSerialPorts(FoldersUnder(options.root));
    }
    const ProbeCommand* command = nullptr;
    for (const ProbeCommand& candidate : AllCommands()) {
        if (options.commandName == candidate.name) {
            command = &candidate;
        }
    }
    if (!command) {
        std::fprintf(stderr, "vcp-probe: unknown command %s\n", options.commandName.c_str());
        PrintUsage(stderr);
        return kUsageError;
    }
    if (command->needsUnit && options.request.unit == 0) {
        std::fprintf(stderr, "vcp-probe: %s needs --unit N\n", command->name);
        return kUsageError;
    }
    if (options.request.args.size() != command->argCount) {
        std::fprintf(stderr, "usage: vcp-probe --port PORT %s\n", command->usage);
        return kUsageError;
    }

    TraceFile trace;
    if (!options.tracePath.empty()) {
        if (!trace.Open(options.tracePath)) {
            std::fprintf(stderr, "vcp-probe: cannot write the trace file %s\n",
                         options.tracePath.c_str());
            return kUsageError;
        }
        g_link.SetTracer(&trace);
    }
    if (!OpenLink(options.port)) {
        return ExitStatus(Status::WriteFailed);
    }
    g_currentUnitAddress = AddressOfUnit(options.request.unit);
    const int status = command->run(options.request);
    // The built-in line is a static object too: the port must not outlive it.
    g_link.Close();
    g_link.SetTracer(nullptr);
    trace.Flush();
    return status;
}
