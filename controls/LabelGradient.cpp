#include "controls/LabelGradient.h"

#include <algorithm>

namespace {

constexpr int kMaxBands = 100;
constexpr int kFixedOne = 256;  // 8.8 fixed point

// Channel value after `k` of `n` steps from `start` towards `end`.
int ChannelAfter(int start, int end, int n, int k) {
    const int step = (end - start) * kFixedOne / n;
    return std::clamp((start * kFixedOne + k * step) / kFixedOne, 0, 255);
}

}  // namespace

std::vector<GradientBand> GradientBands(int width, const QColor& from, const QColor& to) {
    std::vector<GradientBand> bands;
    const int n = std::min(width, kMaxBands);
    if (n <= 0) {
        return bands;
    }
    const int bandWidth = width / n;
    bands.reserve(n);
    for (int k = 0; k < n; ++k) {
        GradientBand band;
        band.left = k * bandWidth;
        band.right = k == n - 1 ? width : band.left + bandWidth;
        band.colour = QColor(ChannelAfter(from.red(), to.red(), n, k),
                             ChannelAfter(from.green(), to.green(), n, k),
                             ChannelAfter(from.blue(), to.blue(), n, k));
        bands.push_back(band);
    }
    return bands;
}
