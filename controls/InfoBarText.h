#pragma once

#include <cstdint>
#include <string>

#include "model/OptionLabels.h"
#include "model/PanelModel.h"

// What the information line shows, by priority, and the texts of its read-outs.
enum class InfoContent { Alert, Message, Keyframe, Readouts, Nothing };

InfoContent ChooseInfoContent(const std::string& alert, const std::string& message,
                              int menuOfSelectedUnit, bool showReadouts);

std::string KeyframeLine(int currentKeyframe, int keyframeCount);

struct ScreenColour {
    int red = 0;
    int green = 0;
    int blue = 0;
    int master = 0;
};

// The read-outs for a unit of model `model`: the screen-colour line, whether the reference
// lamp follows it, and up to two routing lines.
struct ReadoutLines {
    std::string colourLine;
    bool referenceLamp = false;
    std::string routingLine1;
    std::string routingLine2;
    bool operator==(const ReadoutLines&) const = default;
};

// Reads the routing from the parameter, function and menu tables.
ReadoutLines ComposeReadouts(uint8_t model, const ScreenColour& colour);
