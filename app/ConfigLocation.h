#pragma once

#include <string>
#include <vector>

// Where the configuration file QN2.ini is looked for.
//
// Windows: "\Program Files\Korvanthe\KorvantheVCP\QN2.ini", then the same under
// "\Program Files (x86)", on the current drive.
// Elsewhere: $XDG_CONFIG_HOME (default ~/.config)/Korvanthe/KorvantheVCP/QN2.ini, then the
// same folder under each entry of $XDG_CONFIG_DIRS (default /etc/xdg), in order. Relative
// entries are ignored, as the XDG rules ask.
// A file named on the command line (--config FILE) replaces the search for the run.
std::vector<std::string> ConfigurationSearchPaths();

// The paths LoadConfiguration tries, in order: the override alone when one is set.
std::vector<std::string> ConfigurationCandidates();

void SetConfigurationOverride(const std::string& path);
void ClearConfigurationOverride();
const std::string& ConfigurationOverride();

enum class ConfigArgument {
    Absent,       // no --config on the command line
    Applied,      // the override is set
    MissingFile,  // --config without a file name; nothing changed
};

// Looks for "--config FILE" or "--config=FILE" among the arguments (the program name
// first, as in argv) and sets the override from the last one given.
ConfigArgument ApplyConfigArgument(const std::vector<std::string>& arguments);
