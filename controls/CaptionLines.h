#pragma once

#include <string>
#include <vector>

// How a button caption falls into lines. A caption without a line feed is one line centred
// in the picture; otherwise the text before the first line feed is the top line and the
// rest goes 16 pixels lower, itself broken at any further line feeds. A carriage return
// before a line feed ends its line and is not shown.
struct CaptionLines {
    bool singleLine = true;
    std::string firstLine;
    std::vector<std::string> restLines;
};

CaptionLines SplitCaption(const std::string& caption);
