#pragma once

#include <string>

#include "surface/MappingCatalogue.h"

// The control surface's settings, kept in the per-user settings beside the panel's own
// (OpenUserSettings, section "Surface"): whether it is on, its ports by name, its
// mapping by stem, and the MIDI system ("alsa" or "jack"; empty for the desktop's own).
struct SurfaceSettings {
    bool enabled = false;
    std::string input;   // the controller's port it sends on
    std::string output;  // the controller's port it listens on; empty for no rings or lamps
    std::string mapping = kDefaultMappingStem;
    std::string system;
    bool operator==(const SurfaceSettings&) const = default;
};

SurfaceSettings ReadSurfaceSettings();
void StoreSurfaceSettings(const SurfaceSettings& settings);
