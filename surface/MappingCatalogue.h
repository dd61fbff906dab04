#pragma once

#include <optional>
#include <string>
#include <vector>

#include "surface/MappingFile.h"

// The mappings a surface can use, each a JSON file named by its stem
// ("mackie-control"): the shipped ones (compiled into the program, and installed in
// share/vcp/mappings) and the user's own in the "mappings" folder of the program's
// configuration folder. A user's file of a shipped stem takes its place.

struct MappingListing {
    std::string stem;
    std::string name;  // the mapping's own name; empty for a file that does not read
    std::string path;
    bool user = false;
    std::string error;  // why the file does not read
};

// The user's mapping folder (created when a mapping is saved).
std::string UserMappingFolder();
// Every mapping, by stem, the user's first where both have one.
std::vector<MappingListing> ListMappings();
// The listing `named` names: by its stem, by its file name ("mackie-control.json") or by the
// mapping's own name in any case ("Mackie control"); nothing when none does.
std::optional<MappingListing> FindMapping(const std::vector<MappingListing>& listings,
                                          const std::string& named);
// The mapping `named` names (as FindMapping); an error naming the file when it does not read,
// or saying that no mapping has that name.
MappingRead LoadMapping(const std::string& named);
// Saves `mapping` as the user's `stem`; empty on success, else why not.
std::string SaveUserMapping(const Mapping& mapping, const std::string& stem);

// A mapping file's name is its stem and this.
constexpr const char* kMappingFileSuffix = ".json";

// The stem the settings choose when they name none.
constexpr const char* kDefaultMappingStem = "generic-eight-encoders";
