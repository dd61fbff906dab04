#pragma once

#include <QColor>
#include <vector>

// The graded background of a label: n = min(width, 100) vertical bands, each colour channel
// moving from `from` towards `to` in n equal steps in 8.8 fixed point. Band k has the
// colour after k steps, so the last band stops one step short of `to`; it reaches the
// right edge.
struct GradientBand {
    int left = 0;
    int right = 0;  // exclusive
    QColor colour;
};

std::vector<GradientBand> GradientBands(int width, const QColor& from, const QColor& to);
