#include "controls/COnLineBar.h"

#include <QPainter>
#include <algorithm>

#include "controls/PaintHelpers.h"
#include "controls/PanelHooks.h"
#include "controls/SkinZoom.h"

namespace {

constexpr QPoint kPanelPlace{596, 574};
constexpr QSize kCoveredSize{451, 21};
constexpr int kLampSpacing = 20;
constexpr int kLampCorner = 5;
const QRect kSwatchRect = RectLtrb(304, 4, 350, 20);
const QRect kDarkLampRect = RectLtrb(414, 4, 450, 20);

}  // namespace

COnLineBar::COnLineBar(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    ResizeOnSkin(this, kCoveredSize);
}

void COnLineBar::InitOnLineBar(const PollResults* pollSource,
                               const std::array<QWidget*, kUnits>& onLine,
                               const std::array<QWidget*, kUnits>& selected) {
    MoveOnSkin(this, kPanelPlace);
    lower();
    m_pollSource = pollSource;
    m_onLineLamp = onLine;
    m_selectedLamp = selected;
    m_selectedUnit = 0;
    for (int n = 0; n < kUnits; ++n) {
        m_onLineRect[n] = RectLtrb(652 + kLampSpacing * n, 578, 667 + kLampSpacing * n, 593);
    }
    m_selectedRect = RectLtrb(801, 578, 816, 593);
    m_hiddenRect = QRect(0, 0, 0, 0);
    SetSwatch(0, 0, 0);
}

void COnLineBar::SetSelectedUnit(uint8_t unit) {
    m_selectedUnit = unit;
    for (int n = 0; n < kUnits; ++n) {
        MoveLamp(m_onLineLamp[n], m_hiddenRect);
        MoveLamp(m_selectedLamp[n], m_hiddenRect);
    }
    update();
}

void COnLineBar::SetSwatch(int red, int green, int blue) {
    m_swatchRed = std::clamp(red, 0, 255);
    m_swatchGreen = std::clamp(green, 0, 255);
    m_swatchBlue = std::clamp(blue, 0, 255);
    update();
}

void COnLineBar::MoveLamp(QWidget* lamp, const QRect& place) {
    if (lamp != nullptr && SkinGeometry(lamp) != place) {
        PlaceOnSkin(lamp, place);
    }
}

void COnLineBar::PlaceLamps() {
    for (int n = 0; n < kUnits; ++n) {
        const int unit = n + 1;
        const bool answering = m_pollSource != nullptr && m_pollSource->AnsweringAddress(unit) != 0;
        MoveLamp(m_onLineLamp[n], answering ? m_onLineRect[n] : m_hiddenRect);
        MoveLamp(m_selectedLamp[n], m_selectedUnit == unit ? m_selectedRect : m_hiddenRect);
    }
}

QRgb COnLineBar::SwatchColour() const {
    return qRgb(m_swatchRed, m_swatchGreen, m_swatchBlue);
}

void COnLineBar::paintEvent(QPaintEvent*) {
    PlaceLamps();
    if (DrawnByWindow(redirected(nullptr))) {
        return;
    }
    QPainter painter(this);
    PaintOnSkin(painter, m_place.Zoom(this));
    DrawRoundBox(painter, kSwatchRect, kLampCorner, kLampCorner, QColor(SwatchColour()));
    DrawRoundBox(painter, kDarkLampRect, kLampCorner, kLampCorner, Qt::black);
}
