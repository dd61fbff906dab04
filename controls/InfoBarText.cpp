#include "controls/InfoBarText.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRoutingMenu = 46;
constexpr int kFgInputParam = 93;
constexpr int kBgInputParam = 94;
constexpr int kMatteInputParam = 95;
constexpr int kReferenceInputParam = 96;
constexpr uint8_t kModelWithoutRouting = 4;

std::string ColourLine(const ScreenColour& colour, bool withReference) {
    const char* format = withReference
                             ? "Screen Color:  R = %d%%   G = %d%%   B = %d%%   M = %d%%   Ref:"
                             : "Screen Color:  R = %d%%   G = %d%%   B = %d%%   M = %d%%";
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, format, colour.red, colour.green, colour.blue,
                  colour.master);
    return buffer;
}

std::string ParameterRoutingLine(const char* format, int first, int second) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, format, g_paramTable[first].value,
                  g_paramTable[second].value);
    return buffer;
}

// The function number menu 46 places on function button `button` (0..3).
int RoutingFunction(int button) {
    const int firstFunctionEntry =
        std::clamp(g_panelModel.MenuButtonCount(), 0, kMenuEntryWords - kFunctionButtonCount);
    return g_menuTable[kRoutingMenu].entry[firstFunctionEntry + button];
}

std::string NameRoutingLine(const char* format, int firstButton, int secondButton) {
    const std::string first = FunctionOptionName(RoutingFunction(firstButton));
    const std::string second = FunctionOptionName(RoutingFunction(secondButton));
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, format, first.c_str(), second.c_str());
    return buffer;
}

}  // namespace

InfoContent ChooseInfoContent(const std::string& alert, const std::string& message,
                              int menuOfSelectedUnit, bool showReadouts) {
    if (!alert.empty()) {
        return InfoContent::Alert;
    }
    if (!message.empty()) {
        return InfoContent::Message;
    }
    if (menuOfSelectedUnit == kKeyframeMenu) {
        return InfoContent::Keyframe;
    }
    return showReadouts ? InfoContent::Readouts : InfoContent::Nothing;
}

std::string KeyframeLine(int currentKeyframe, int keyframeCount) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "Keyframe %d of %d", currentKeyframe, keyframeCount);
    return buffer;
}

ReadoutLines ComposeReadouts(uint8_t model, const ScreenColour& colour) {
    ReadoutLines lines;
    lines.referenceLamp = !IsCompactModel(model);
    lines.colourLine = ColourLine(colour, lines.referenceLamp);
    if (model == kModelWithoutRouting) {
        return lines;
    }
    if (SelectsInputsByParameters(model)) {
        lines.routingLine1 = ParameterRoutingLine("               FG Input: %-15d  Matte Input: %d",
                                                  kFgInputParam, kMatteInputParam);
        lines.routingLine2 =
            ParameterRoutingLine("               BG Input: %-15d  Reference Input: %d",
                                 kBgInputParam, kReferenceInputParam);
        return lines;
    }
    lines.routingLine1 = NameRoutingLine("                  FG: %-15s  Matte 1: %-15s", 0, 2);
    lines.routingLine2 = NameRoutingLine("                  BG: %-15s  Matte 2: %-15s", 1, 3);
    return lines;
}
