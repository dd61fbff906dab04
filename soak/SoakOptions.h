#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/line/SimLine.h"

// What one soak run does: how long it runs on the virtual clock, the seed of its random
// faults and user work (a failing run is repeated with the same seed), and the units on the
// line.
struct SoakOptions {
    double hours = 1.5;
    uint64_t seed = 1;
    std::vector<UnitEntry> units = {{1, 11}, {3, 4}};
};

// Reads --hours H (above 0, at most a year), --seed N and --units LIST (unit:model,
// comma separated) over the defaults; --help sets `help`. Nullopt with `error` set for an
// unknown option, a missing or malformed value.
std::optional<SoakOptions> ParseSoakOptions(const std::vector<std::string>& args, bool& help,
                                            std::string& error);

// One line per option, for --help and usage errors.
std::string SoakUsage();
