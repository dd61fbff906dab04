#include "controls/CaptionLines.h"

namespace {

constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';

std::string WithoutTrailingReturn(std::string line) {
    if (!line.empty() && line.back() == kCarriageReturn) {
        line.pop_back();
    }
    return line;
}

}  // namespace

CaptionLines SplitCaption(const std::string& caption) {
    CaptionLines lines;
    const size_t firstBreak = caption.find(kLineFeed);
    if (firstBreak == std::string::npos) {
        lines.firstLine = caption;
        return lines;
    }
    lines.singleLine = false;
    lines.firstLine = WithoutTrailingReturn(caption.substr(0, firstBreak));
    size_t start = firstBreak + 1;
    while (true) {
        const size_t next = caption.find(kLineFeed, start);
        if (next == std::string::npos) {
            lines.restLines.push_back(WithoutTrailingReturn(caption.substr(start)));
            break;
        }
        lines.restLines.push_back(WithoutTrailingReturn(caption.substr(start, next - start)));
        start = next + 1;
    }
    return lines;
}
