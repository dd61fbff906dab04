#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "protocol/Status.h"
struct SystemFolders;

// The exit status of a command line the probe cannot use.
constexpr int kUsageError = 2;

// The exit status of a command's result: its Status number.
constexpr int ExitStatus(Status status) {
    return static_cast<int>(status);
}

// What a subcommand gets from the command line.
struct ProbeRequest {
    int unit = 0;                   // 1..4; 0 when --unit was not given
    std::vector<std::string> args;  // the subcommand's own arguments
    std::string rawPath;            // menus --raw FILE
};

// A subcommand: sends exactly its requests, prints its result on standard output, and
// returns the exit status of the first failing command (0 when all succeeded).
struct ProbeCommand {
    const char* name;
    const char* usage;
    bool needsUnit;
    size_t argCount;
    int (*run)(const ProbeRequest& request);
};

// The subcommands of each family, in the order `--help` lists them.
const std::vector<ProbeCommand>& UnitProbeCommands();
const std::vector<ProbeCommand>& StorageProbeCommands();

// `vcp-probe ports`: prints the serial ports that `folders` show, one a line with the device,
// its stable name, its driver and a USB adapter's latency timer. Needs no port; returns 0.
int PrintSerialPorts(const SystemFolders& folders);
