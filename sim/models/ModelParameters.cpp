// Knob parameters of the Main Units. Raw ranges are what the unit stores; display ranges
// are what a panel shows. Names ending in "#..." carry a suffix a panel cuts off.
#include "sim/models/ModelSets.h"

namespace {

// Shown as a percentage of the raw range.
ParamDef Percent(uint8_t number, const std::string& name, int16_t rawMax, int16_t initial = 0) {
    return {.number = number, .name = name, .rawMax = rawMax, .dispMax = 100, .initial = initial};
}

// A range around zero, shown raw.
ParamDef Centred(uint8_t number, const std::string& name, int16_t low, int16_t high,
                 int16_t initial = 0) {
    return {.number = number,
            .name = name,
            .flags = kFlagDisplayCentred,
            .rawMin = low,
            .rawMax = high,
            .dispMin = low,
            .dispMax = high,
            .initial = initial};
}

// A count shown as a plain number (or with other `flags`); raw and display ranges agree.
ParamDef Count(uint8_t number, const std::string& name, int16_t low, int16_t high,
               int16_t initial = 0, uint16_t flags = kFlagDisplayPlain) {
    return {.number = number,
            .name = name,
            .flags = flags,
            .rawMin = low,
            .rawMax = high,
            .dispMin = low,
            .dispMax = high,
            .initial = initial};
}

// A time in frames, shown as a timecode.
ParamDef Frames(uint8_t number, const std::string& name, int16_t rawMax, int16_t initial) {
    return {.number = number,
            .name = name,
            .flags = kFlagTimecode,
            .rawMax = rawMax,
            .initial = initial};
}

ParamDef KeySource() {
    ParamDef source = Count(6, "Key Source#S", 0, 2, 0, kFlagCoarse | kFlagDisplayPlain);
    source.options = {{"Ext", "External key input"},
                      {"Int", "Internal key from the foreground"},
                      {"Self", "Self key"}};
    source.note = "Source of the key signal";
    return source;
}

ParamDef Hue() {
    ParamDef hue = Count(13, "FG Hue", 0, 359);
    hue.options = {{"deg", "degrees"}};
    return hue;
}

}  // namespace

const std::vector<ParamDef> kKeyParameters = {
    Percent(0, "Clip", 1023, 512),
    Percent(1, "Gain", 1023, 640),
    Percent(2, "Transparency", 1023),
    Centred(3, "Position H", -100, 100),
    Centred(4, "Position V", -100, 100),
    Count(5, "Softness", 0, 15, 2, kFlagStepped),
    KeySource(),
    Frames(7, "Fade Time", 32000, 30),
    Percent(8, "Border Width", 255),
    Centred(9, "Shadow Offset", -50, 50),
    Percent(10, "FG Red", 255, 255),
    Percent(11, "FG Green", 255, 255),
    Percent(12, "FG Blue", 255, 255),
    Hue(),
    Percent(14, "FG Size H", 1023, 1023),
    Percent(15, "FG Size V", 1023, 1023),
    Percent(16, "BG Red", 255),
    Percent(17, "BG Green", 255),
    Percent(18, "BG Blue", 255, 128),
    Percent(19, "Wipe Position", 1023),
    Count(20, "Wipe Softness", 0, 7, 0, kFlagStepped),
    Centred(21, "Window Left", -360, 360, -180),
    Centred(22, "Window Right", -360, 360, 180),
    Percent(23, "Window Top", 575, 100),
    Percent(24, "Window Bottom", 575, 475),
    Percent(25, "Corner Radius", 255),
    Percent(26, "Border Luma", 255, 200),
    Frames(27, "Matte In Time", 32000, 15),
    Frames(28, "Matte Out Time", 32000, 15),
    Percent(29, "Matte Level", 1023, 1023),
};

const std::vector<ParamDef> kScreenParameters = {
    Percent(59, "Screen Red", 255, 128),
    Percent(60, "Screen Green", 255, 128),
    Percent(61, "Screen Blue", 255, 128),
    Percent(101, "Screen Master", 255, 128),
};

const std::vector<ParamDef> kTimingParameters = {
    Count(93, "Line Delay", 0, 15),          Centred(94, "H Timing", -64, 63),
    Centred(95, "V Timing", -32, 31),        Count(96, "Chroma Delay", 0, 7),
    Count(97, "Output Level", 90, 110, 100), Count(98, "Tally Hold", 0, 20),
};

const std::vector<ParamDef> kRouterParameters = {
    Count(114, "Dwell Frames", 0, 300, 25),
    Frames(115, "Crossfade", 9000, 10),
};
