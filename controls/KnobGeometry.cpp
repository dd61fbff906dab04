#include "controls/KnobGeometry.h"

#include <algorithm>
#include <cmath>

int KnobGeometry::RowOfPosition(int position) const {
    const int span = rangeMax - rangeMin;
    if (span == 0 || Travel() <= 0) {
        return HalfThumb();
    }
    const double fraction = static_cast<double>(position - rangeMin) / span;
    return static_cast<int>(std::trunc(fraction * Travel())) + HalfThumb();
}

int KnobGeometry::PositionOfRow(int row) const {
    if (Travel() <= 0) {
        return rangeMin;
    }
    const double fraction = static_cast<double>(row - HalfThumb()) / Travel();
    return static_cast<int>(std::trunc(fraction * (rangeMax - rangeMin) + rangeMin));
}

int KnobGeometry::ClampPosition(int position) const {
    return std::clamp(position, std::min(rangeMin, rangeMax), std::max(rangeMin, rangeMax));
}

int KnobGeometry::ClampRow(int row) const {
    const int top = HalfThumb();
    const int bottom = std::max(top, height - HalfThumb());
    return std::clamp(row, top, bottom);
}
