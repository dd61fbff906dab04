// Function parameters of the Main Units: 8-bit values stepped by the function buttons.
// A label ending in "#..." carries a suffix a panel cuts off.
#include "sim/models/ModelSets.h"

namespace {

FunctionDef OnOff(uint8_t number, const std::string& name, const std::string& label) {
    return {.number = number, .name = name, .options = {{label}}};
}

FunctionDef Memory(uint8_t number, int slot) {
    const std::string label = "Memory " + std::to_string(slot);
    return {.number = number, .name = label, .options = {{label, "Quick setup memory"}}};
}

}  // namespace

const std::vector<FunctionDef> kCoreFunctions = {
    OnOff(129, "FG View", "FG View"),
    OnOff(130, "BG View", "BG View"),
    OnOff(132, "Matte View", "Matte View"),
    {.number = 135,
     .name = "Key Mode",
     .maxValue = 2,
     .options = {{"Linear#K", "Linear key"}, {"Luma"}, {"Chroma"}}},
    {.number = 136, .name = "Key Invert", .options = {{"Normal"}, {"Invert"}}},
    {.number = 140,
     .name = "Border Style",
     .maxValue = 3,
     .options = {{"None"}, {"Edge"}, {"Shadow"}, {"Outline"}}},
    {.number = 145,
     .name = "Wipe Pattern",
     .maxValue = 2,
     .options = {{"Left"}, {"Right"}, {"Centre"}}},
    {.number = 150,
     .name = "Window Shape",
     .maxValue = 2,
     .options = {{"Rect"}, {"Oval"}, {"Diamond"}}},
    {.number = 159, .name = "Take", .flags = kFlagMomentary, .options = {{"Take"}}},
    {.number = 161, .name = "BG Mode", .options = {{"Normal BG"}, {"Alt BG"}}},
    {.number = 163,
     .name = "Clear Files",
     .flags = kFlagMomentary,
     .options = {{"Clear Files"}},
     .action = FunctionAction::ClearFiles},
    {.number = 168, .name = "Lockout", .options = {{"Lockout Off"}, {"Lockout On"}}},
    {.number = 174,
     .name = "Clear All",
     .flags = kFlagMomentary,
     .options = {{"Clear All"}},
     .action = FunctionAction::ClearFiles},
    Memory(216, 1),
    Memory(217, 2),
    Memory(218, 3),
    Memory(219, 4),
    Memory(220, 5),
    OnOff(221, "Tally", "Tally"),
    OnOff(222, "Preview", "Preview"),
    OnOff(223, "Genlock", "Genlock"),
    OnOff(224, "Freeze Field", "Field"),
    OnOff(225, "Freeze", "Freeze"),
    OnOff(226, "Loop", "Loop"),
    OnOff(227, "Record", "Record"),
};

const std::vector<FunctionDef> kRouterFunctions = {
    OnOff(211, "Router", "Router"),
    {.number = 214, .name = "Polarity", .initial = 1, .options = {{"Low"}, {"High"}}},
};
