#include "remote/ShownValue.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "model/KnobGauge.h"
#include "remote/RemoteCommand.h"

namespace {

bool IsTimecode(const ParamRecord& param) {
    return (param.flags & kFlagTimecode) != 0;
}

std::string TextAt(const ParamRecord& param, int raw) {
    ParamRecord at = param;
    at.value = static_cast<int16_t>(raw);
    return ShownValueText(at);
}

// hh:mm:ss:ff as a frame count, when the text reads back the same.
std::optional<int> FramesOf(const std::string& text) {
    int fields[4] = {};
    char tail = 0;
    if (std::sscanf(text.c_str(), "%d:%d:%d:%d%c", &fields[0], &fields[1], &fields[2], &fields[3],
                    &tail) != 4) {
        return std::nullopt;
    }
    for (int field : fields) {
        if (field < 0 || field > 99) {
            return std::nullopt;
        }
    }
    const int frames = ((fields[0] * 60 + fields[1]) * 60 + fields[2]) * 30 + fields[3];
    if (TimecodeText(frames) != text) {
        return std::nullopt;
    }
    return frames;
}

std::optional<int> NumberOf(std::string text) {
    if (!text.empty() && text.back() == '%') {
        text.pop_back();
    }
    return WireNumber(text);
}

}  // namespace

int ShownNumber(const ParamRecord& param, int raw) {
    if (IsTimecode(param)) {
        return std::max(raw, 0);
    }
    const std::string text = TextAt(param, raw);
    return std::atoi(text.c_str());
}

RawForShownResult RawForShown(const ParamRecord& param, const std::string& shown) {
    const std::optional<int> wanted = IsTimecode(param) ? FramesOf(shown) : NumberOf(shown);
    if (!wanted) {
        return {std::nullopt, "\"" + shown + "\" is not a value " + param.name + " shows (" +
                                  (IsTimecode(param) ? "hh:mm:ss:ff" : "a whole number") + ")."};
    }
    // Below zero too: a unit's words are signed (Position H runs from -100 to 100).
    const int low = std::min<int>(param.rawMin, param.rawMax);
    const int high = std::max<int>(param.rawMin, param.rawMax);
    // The display's number moves one way across the range: up, or down for a range that
    // runs backwards. Search in the direction in which it grows.
    const bool rising = ShownNumber(param, high) >= ShownNumber(param, low);
    const auto key = [&](int raw) {
        const int number = ShownNumber(param, raw);
        return rising ? number : -number;
    };
    const int target = rising ? *wanted : -*wanted;
    if (target < key(low) || target > key(high)) {
        return {std::nullopt, param.name + " shows " + TextAt(param, rising ? low : high) + " to " +
                                  TextAt(param, rising ? high : low) + "."};
    }
    // The first raw value at or past the target, then the last one at it.
    int first = low;
    int last = high;
    for (int a = low, b = high; a <= b;) {
        const int mid = a + (b - a) / 2;
        if (key(mid) >= target) {
            first = mid;
            b = mid - 1;
        } else {
            a = mid + 1;
        }
    }
    for (int a = first, b = high; a <= b;) {
        const int mid = a + (b - a) / 2;
        if (key(mid) <= target) {
            last = mid;
            a = mid + 1;
        } else {
            b = mid - 1;
        }
    }
    if (key(first) != target) {
        const int below = std::max(low, first - 1);
        return {std::nullopt, param.name + " shows no " + shown + ": the nearest are " +
                                  TextAt(param, below) + " and " + TextAt(param, first) + "."};
    }
    // Of the values that show it, the one nearest to where the target falls in an even
    // share of the range.
    const int shownLow = ShownNumber(param, low);
    const int shownHigh = ShownNumber(param, high);
    double ideal = low;
    if (shownHigh != shownLow) {
        ideal = low + (static_cast<double>(*wanted) - shownLow) * (high - low) /
                          (static_cast<double>(shownHigh) - shownLow);
    }
    const int raw = static_cast<int>(
        std::clamp(std::lround(ideal), static_cast<long>(first), static_cast<long>(last)));
    return {raw, {}};
}
