#include "sim/line/SimOptions.h"

#include "sim/line/BuiltinSimulator.h"
#include "sim/line/SimControl.h"

namespace {

bool ParseCount(const std::string& text, long low, long high, long& value) {
    try {
        size_t used = 0;
        value = std::stol(text, &used, 10);
        return used == text.size() && value >= low && value <= high;
    } catch (...) {
        return false;
    }
}

bool SetServe(SimOptions& options, ServeOn serveOn, std::string& error) {
    if (options.serveOn != ServeOn::Nothing) {
        error = "give only one of --pty, --tcp and --device";
        return false;
    }
    options.serveOn = serveOn;
    return true;
}

}  // namespace

std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& args,
                                          std::string& error) {
    SimOptions options;
    options.units = kDefaultUnitList;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--help" || option == "-h") {
            options.help = true;
            return options;
        }
        if (i + 1 >= args.size()) {
            error =
                option.rfind("--", 0) == 0 ? option + " needs a value" : "unknown option " + option;
            return std::nullopt;
        }
        const std::string& value = args[++i];
        long number = 0;
        if (option == "--pty" || option == "--device") {
            if (!SetServe(options, option == "--pty" ? ServeOn::Pty : ServeOn::Device, error)) {
                return std::nullopt;
            }
            options.path = value;
        } else if (option == "--tcp") {
            if (!SetServe(options, ServeOn::Tcp, error)) {
                return std::nullopt;
            }
            if (!ParseCount(value, 0, 65535, number)) {
                error = "--tcp needs a port 0..65535";
                return std::nullopt;
            }
            options.port = static_cast<int>(number);
        } else if (option == "--units") {
            options.units = value;
        } else if (option == "--delay") {
            if (!ParseCount(value, 0, 60000, number)) {
                error = "--delay needs 0..60000 ms";
                return std::nullopt;
            }
            options.answerDelay_ms = static_cast<uint32_t>(number);
        } else if (option == "--script") {
            options.scriptPath = value;
        } else {
            error = "unknown option " + option;
            return std::nullopt;
        }
    }
    if (options.serveOn == ServeOn::Nothing) {
        error = "say where to serve: --pty PATH, --tcp PORT or --device PATH";
        return std::nullopt;
    }
    return options;
}

std::string SimUsageText() {
    return std::string(
               "Usage: vcp-sim (--pty PATH | --tcp PORT | --device PATH) [options]\n"
               "Simulates a serial line of up to four Main Units.\n"
               "\n"
               "  --pty PATH      create a pseudo-terminal and make PATH a link to it\n"
               "  --tcp PORT      listen on 127.0.0.1:PORT (0: any free port)\n"
               "  --device PATH   serve a serial device at 115200 baud, 8-O-1\n"
               "  --units LIST    unit:model list (default ") +
           kDefaultUnitList +
           ");\n"
           "                  models 4, 5, 7, 9, 11, 80, 81, 177\n"
           "  --delay MS      answer delay (default 2)\n"
           "  --script FILE   run control commands from FILE at start\n"
           "  --help          print this text\n"
           "\n"
           "Prints \"ready TARGET\" once it answers; serves until SIGTERM, SIGINT or quit.\n"
           "Control commands, one per line on stdin or in the script:\n" +
           ControlHelpText();
}
