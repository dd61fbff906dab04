#pragma once

#include <QKeyCombination>
#include <QSize>
#include <QString>
#include <array>
#include <optional>

// The panel's zoom: the steps the user picks from, fitting a screen, and the choice kept in
// the user's settings.

constexpr std::array<double, 10> kZoomSteps = {0.5, 0.67, 0.75, 0.9,  1.0,
                                               1.1, 1.25, 1.5,  1.75, 2.0};

// What the window's frame adds round the panel (title bar, borders) when the desktop has not
// said yet, in the screen's logical pixels.
constexpr QSize kFrameAllowance{8, 40};

// The largest zoom at which a panel of `skin` with a frame of `frame` fits `available`,
// held to the smallest and largest zoom.
double ZoomToFit(const QSize& skin, const QSize& frame, const QSize& available);
// The next step above (direction > 0) or below the zoom; the zoom itself at either end.
double NextZoomStep(double zoom, int direction);

// The user's choice: a zoom, or to fit the screen whatever its size.
struct ZoomSetting {
    bool fitToScreen = false;
    double zoom = 1.0;
};
// Nothing before the first choice (a first start fits the screen without enlarging).
std::optional<ZoomSetting> ReadZoomSetting();
void StoreZoomSetting(const ZoomSetting& setting);

// What a zoom key or menu entry does.
enum class ZoomCommand { In, Out, ActualSize, FitScreen };
// The zoom command of a key (Ctrl with +, -, 0 or F; Shift and the keypad do not matter).
std::optional<ZoomCommand> ZoomCommandOf(QKeyCombination key);
// Its key as the user reads it ("Ctrl++").
QString ZoomKeyName(ZoomCommand command);
