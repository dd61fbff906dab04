// vcp: the virtual control panel of the Main Units on one serial line.
#include <cstdio>
#include <string>
#include <vector>

#include "app/ConfigLocation.h"
#include "link/SerialCom.h"
#include "panel/CTavrinoxApp.h"
#include "panel/PanelRemote.h"
#include "remote/RemoteSettings.h"
#include "sim/line/BuiltinSimulator.h"

namespace {

const char* const kUsage =
    "Usage: vcp [--port PORT] [--config FILE] [--remote [ADDRESS:]PORT] [--selftest PICTURE]\n"
    "           [--help] [--version]\n"
    "\n"
    "The virtual control panel of up to four Main Units on one serial line.\n"
    "\n"
    "  --port PORT         the port of this run only (the stored port stays as it is):\n"
    "                      COM1..COM16, a device path such as /dev/ttyUSB0, a serial\n"
    "                      device server rfc2217://HOST:PORT (or tcp://HOST:PORT for raw\n"
    "                      bytes), or inproc:sim, a built-in line of simulated units\n"
    "                      (unit 1 a model 11, unit 2 a model 4)\n"
    "  --config FILE       read this configuration file instead of looking for QN2.ini\n"
    "  --remote [ADDRESS:]PORT\n"
    "                      network control on for this run only (the stored settings stay\n"
    "                      as they are): the line protocol on PORT (0 takes a free one) at\n"
    "                      ADDRESS, 127.0.0.1 when left out; the allow-list, read-only and\n"
    "                      OSC as stored\n"
    "  --selftest PICTURE  select unit 1, turn knob 1 up three steps, save the panel as a\n"
    "                      PNG picture and exit: 0 when the unit took the change, else 1\n"
    "  --help              show this text and exit\n"
    "  --version           show the version and exit\n"
    "\n"
    "Network control (section [Remote]: Enabled, LineOn, TcpPort, OscOn, OscPort,\n"
    "ListenAddress, AllowList, ReadOnly) and a control surface ([Surface]: Enabled, Input,\n"
    "Output, Mapping, System) are switched on from the panel's context menu (right-click)\n"
    "and kept in ~/.config/Korvanthe/KorvantheVCP.conf; man vcp tells what each does.\n";

// The value of option `name` at args[i] ("--name VALUE" or "--name=VALUE"); advances i.
bool OptionValue(const std::vector<std::string>& args, size_t& i, const std::string& name,
                 std::string& value) {
    const std::string& arg = args[i];
    if (arg == name && i + 1 < args.size()) {
        value = args[++i];
        return true;
    }
    if (arg.rfind(name + "=", 0) == 0) {
        value = arg.substr(name.size() + 1);
        return true;
    }
    return false;
}

int UsageError(const std::string& why) {
    std::fprintf(stderr, "vcp: %s\n\n%s", why.c_str(), kUsage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::printf("%s", kUsage);
            return 0;
        }
        if (arg == "--version") {
            std::printf("vcp %s\n", VCP_VERSION);
            return 0;
        }
    }
    CTavrinoxApp app(argc, argv);
    const std::vector<std::string> args(argv, argv + argc);
    if (ApplyConfigArgument(args) == ConfigArgument::MissingFile) {
        return UsageError("--config needs a file name");
    }
    RunOptions options;
    for (size_t i = 1; i < args.size(); ++i) {
        std::string config;
        if (OptionValue(args, i, "--config", config)) {
            continue;
        }
        std::string remote;
        if (OptionValue(args, i, "--remote", remote)) {
            std::string error;
            if (!SetRunRemote(remote, error)) {
                return UsageError(error);
            }
            if (const std::string problem = PanelRemote::SettingsProblem(ReadRemoteSettings());
                !problem.empty()) {
                return UsageError("--remote: " + problem);
            }
            continue;
        }
        if (!OptionValue(args, i, "--port", options.port) &&
            !OptionValue(args, i, "--selftest", options.selfTestPicture)) {
            return UsageError("unknown or incomplete option " + args[i]);
        }
    }
    const bool builtinLine = options.port == std::string("inproc:") + kBuiltinLineName;
    if (builtinLine) {
        RegisterBuiltinSimulator(kDefaultUnitList);
    }
    const int status = app.InitInstance(options);
    // The built-in line lives in this process and ends before the link would at exit: the
    // link lets go of it first.
    if (builtinLine) {
        g_link.Close();
    }
    return status;
}
