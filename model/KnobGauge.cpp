#include "model/KnobGauge.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace {

constexpr double kBarBias = 0.001;  // keeps the bar and the text off the exact range ends
constexpr int kFramesPerSecond = 30;
constexpr int kFramesPerMinute = 60 * kFramesPerSecond;
constexpr int kFramesPerHour = 60 * kFramesPerMinute;

// The fraction of the raw range the value stands at, in single precision as the unit's
// own panel computes it; beyond 0..1 for a value outside its raw range.
float RawFraction(const ParamRecord& param) {
    const float span = static_cast<float>(param.rawMax - param.rawMin);
    if (span == 0.0f) {
        return 0.0f;
    }
    return static_cast<float>(param.value - param.rawMin) / span;
}

int TruncToInt(double x) {
    return static_cast<int>(std::trunc(x));
}

// The bar's biased fraction: below zero for a range around zero, above it otherwise.
float BiasedFraction(float fraction, bool aroundZero) {
    return static_cast<float>(aroundZero ? fraction - kBarBias : fraction + kBarBias);
}

// The number the value text shows: the display range scaled by the unclamped fraction, so a
// unit holding more than its range shows what it holds. Kept inside int for hostile ranges.
int ShownValue(const ParamRecord& param, float fraction) {
    const float adjusted = BiasedFraction(fraction, param.dispMin < 0);
    const double dispSpan = static_cast<double>(param.dispMax) - param.dispMin;
    const double shown =
        param.dispMin + std::trunc(dispSpan * (static_cast<double>(adjusted) + kBarBias));
    return static_cast<int>(std::clamp<double>(shown, std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
}

// A reference value inside the raw range: the only ones with a place on the display.
bool ReferenceInRange(const ParamRecord& param) {
    const int low = std::min(param.rawMin, param.rawMax);
    const int high = std::max(param.rawMin, param.rawMax);
    return param.referenceValue >= low && param.referenceValue <= high;
}

const char* LabelFormat(bool plainNumbers) {
    return plainNumbers ? "%d" : "%d%%";
}

// Column of the reference mark: its share of the raw range, one column left of the exact
// place so a mark at the top end stays inside the display.
int ReferenceColumn(const ParamRecord& param, int left, int right) {
    const int width = right - left;
    const int64_t span = static_cast<int64_t>(param.rawMax) - param.rawMin;
    int x = left;
    if (span != 0) {
        const int64_t offset = static_cast<int64_t>(param.referenceValue) - param.rawMin;
        x = static_cast<int>(offset * width / span) + left;
    }
    if (x > 0) {
        --x;
    }
    return std::clamp(x, left, std::max(left, right - 1));
}

}  // namespace

GaugePicture ComputeGauge(const ParamRecord& param, int left, int right) {
    GaugePicture picture;
    const int width = right - left;
    const bool plain = (param.flags & kFlagDisplayPlain) != 0;
    const bool centred = (param.flags & kFlagDisplayCentred) != 0;
    const bool stepped = (param.flags & kFlagStepped) != 0;
    picture.showBar = !plain;

    const float fraction = RawFraction(param);
    // The bar stops at the display's ends; only its geometry is clamped.
    const float adjusted = BiasedFraction(std::clamp(fraction, 0.0f, 1.0f), param.dispMin < 0);
    if (param.dispMin < 0) {
        int valueX = TruncToInt(width * static_cast<double>(adjusted)) + left;
        const int dispSpan = param.dispMax - param.dispMin;
        int zeroX = left;
        if (dispSpan != 0) {
            const float zeroRatio =
                static_cast<float>(-param.dispMin) / static_cast<float>(dispSpan);
            zeroX = TruncToInt(right * static_cast<double>(zeroRatio));
        }
        if (valueX < zeroX - 1) {
            picture.barLeft = valueX;
            picture.barRight = zeroX;
        } else {
            if (valueX == zeroX - 1) {
                valueX = zeroX;  // at least one column at zero
            }
            picture.barLeft = zeroX - 1;
            picture.barRight = valueX;
        }
    } else {
        picture.barLeft = left;
        picture.barRight = TruncToInt(width * static_cast<double>(adjusted)) + left;
    }
    if (picture.barLeft > picture.barRight) {
        std::swap(picture.barLeft, picture.barRight);
    }
    picture.barLeft = std::clamp(picture.barLeft, left, right);
    picture.barRight = std::clamp(picture.barRight, left, right);
    picture.showReference = picture.showBar && ReferenceInRange(param);
    picture.referenceX = ReferenceColumn(param, left, right);

    const bool plainNumbers = plain || centred;
    picture.minLabel = FormatNumber(LabelFormat(plainNumbers), param.dispMin);
    picture.maxLabel = centred ? FormatNumber("%d", param.rawMax)
                               : FormatNumber(LabelFormat(plain), param.dispMax);
    const int shown = stepped || centred ? param.value : ShownValue(param, fraction);
    picture.valueText = FormatNumber(LabelFormat(plainNumbers), shown);
    return picture;
}

std::string TimecodeText(int frames) {
    frames = std::max(frames, 0);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d:%02d", frames / kFramesPerHour,
                  (frames % kFramesPerHour) / kFramesPerMinute,
                  (frames % kFramesPerMinute) / kFramesPerSecond, frames % kFramesPerSecond);
    return buffer;
}

int CoarseAccumulator::Add(int delta) {
    m_sum += delta;
    int step = 0;
    if (m_sum > kStepThreshold) {
        step = 1;
    } else if (m_sum < -kStepThreshold) {
        step = -1;
    }
    if (step != 0) {
        m_sum = 0;
    }
    return step;
}

std::string FormatNumber(const char* format, int number) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, format, number);
    return buffer;
}

std::string ShownValueText(const ParamRecord& param) {
    return (param.flags & kFlagTimecode) ? TimecodeText(param.value)
                                         : ComputeGauge(param, 0, kKnobDisplayColumns).valueText;
}
