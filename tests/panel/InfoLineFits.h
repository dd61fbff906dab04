#pragma once

#include <QColor>
#include <QImage>
#include <algorithm>

#include "controls/CInfoBar.h"

// Whether the information line shows its message whole: the message's yellow text stops
// short of both ends of the line, where a message too long for it is cut off.
inline bool MessageFitsTheLine(CInfoBar& line) {
    const QImage picture = line.grab().toImage();
    int left = picture.width();
    int right = -1;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor colour = picture.pixelColor(x, y);
            if (colour.red() > 200 && colour.green() > 200 && colour.blue() < 80) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    const int margin = picture.width() / 20;
    return right >= 0 && left > margin && right < picture.width() - margin;
}
