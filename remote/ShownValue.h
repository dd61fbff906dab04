#pragma once

#include <optional>
#include <string>

#include "model/KnobGauge.h"
#include "model/PanelModel.h"

// A parameter's value in the units its knob display shows, both ways. The display's formula
// is the gauge's (model/KnobGauge.h); the inverse asks that formula itself, so a value set
// in shown units reads back as the same text on the panel.

// The number the display shows for raw value `raw` (the text without its "%"); the frame
// count for a time code.
int ShownNumber(const ParamRecord& param, int raw);

struct RawForShownResult {
    std::optional<int> raw;
    std::string error;  // why no raw value shows the text
};

// The raw value whose display reads `shown` ("50", "50%", "-12", "00:01:02:03"). Of the raw
// values that show it, the one nearest to its even share of the range. Refused when the text
// is no number, lies outside what the display can show, or falls between two shown steps
// (the answer names the nearest).
RawForShownResult RawForShown(const ParamRecord& param, const std::string& shown);
