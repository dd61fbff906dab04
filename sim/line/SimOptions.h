#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The command line of vcp-sim.
enum class ServeOn { Nothing, Pty, Tcp, Device };

struct SimOptions {
    ServeOn serveOn = ServeOn::Nothing;
    std::string path;  // the link for --pty, the device for --device
    int port = 0;      // for --tcp; 0 picks a free port
    std::string units;
    uint32_t answerDelay_ms = 2;
    std::string scriptPath;
    bool help = false;
};

// nullopt with `error` set when an option is unknown, lacks its value or has a bad one, or
// when not exactly one of --pty, --tcp and --device is given (unless --help).
std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& args, std::string& error);

// The text of vcp-sim --help.
std::string SimUsageText();
