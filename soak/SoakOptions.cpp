#include "soak/SoakOptions.h"

#include <cmath>
#include <stdexcept>

namespace {

constexpr double kLongestRun_hours = 24.0 * 366;

bool ParseHours(const std::string& text, double& hours) {
    try {
        size_t used = 0;
        hours = std::stod(text, &used);
        return used == text.size() && std::isfinite(hours) && hours > 0 &&
               hours <= kLongestRun_hours;
    } catch (const std::exception&) {
        return false;
    }
}

bool ParseSeed(const std::string& text, uint64_t& seed) {
    if (text.empty() || text[0] == '-') {
        return false;
    }
    try {
        size_t used = 0;
        seed = std::stoull(text, &used, 0);
        return used == text.size();
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

std::optional<SoakOptions> ParseSoakOptions(const std::vector<std::string>& args, bool& help,
                                            std::string& error) {
    SoakOptions options;
    help = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--help" || option == "-h") {
            help = true;
            continue;
        }
        if (option != "--hours" && option != "--seed" && option != "--units") {
            error = "unknown option " + option;
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            error = option + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (option == "--hours" && !ParseHours(value, options.hours)) {
            error = "--hours takes a number of hours above 0, not \"" + value + "\"";
            return std::nullopt;
        }
        if (option == "--seed" && !ParseSeed(value, options.seed)) {
            error = "--seed takes a whole number, not \"" + value + "\"";
            return std::nullopt;
        }
        if (option == "--units") {
            std::optional<std::vector<UnitEntry>> units = ParseUnitList(value, error);
            if (!units) {
                error = "--units: " + error;
                return std::nullopt;
            }
            options.units = *units;
        }
    }
    return options;
}

std::string SoakUsage() {
    return "usage: vcp-soak [--hours H] [--seed N] [--units 1:11,3:4]\n"
           "  --hours H   simulated hours to run (default 1.5)\n"
           "  --seed N    seed of the random faults and user work (default 1)\n"
           "  --units L   units on the line, unit:model comma separated (default 1:11,3:4)\n";
}
