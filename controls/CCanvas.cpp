#include "controls/CCanvas.h"

#include <QMouseEvent>
#include <QPainter>

#include "controls/PaintHelpers.h"
#include "controls/SkinZoom.h"

CCanvas::CCanvas(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CCanvas::Place(int x, int y) {
    PlaceOnSkin(this, QRect(x, y, kWidth, kHeight));
    m_placed = true;
    BufferAtRatio(ShownRatio());
    update();
}

void CCanvas::Draw(QPainter&) {}

// The picture is kept at the ratio it is shown at (the screen's times the zoom); a new
// zoom or screen draws it again.
bool CCanvas::BufferAtRatio(qreal paintRatio) {
    const qreal ratio = BufferRatio(paintRatio);
    if (!m_bufferBitmap.isNull() && qFuzzyCompare(m_bufferBitmap.devicePixelRatio(), ratio)) {
        return false;
    }
    m_bufferBitmap = QPixmap(QSize(kWidth, kHeight) * ratio);
    m_bufferBitmap.setDevicePixelRatio(ratio);
    m_bufferBitmap.fill(Qt::black);
    return true;
}

qreal CCanvas::ShownRatio() {
    return devicePixelRatioF() * m_place.Zoom(this);
}

void CCanvas::DrawBuffer() {
    QPainter painter(&m_bufferBitmap);
    Draw(painter);
}

void CCanvas::Redraw() {
    if (!m_placed) {
        return;
    }
    BufferAtRatio(ShownRatio());
    DrawBuffer();
    if (isVisible()) {
        repaint();
    }
}

void CCanvas::paintEvent(QPaintEvent*) {
    if (!m_placed) {
        return;
    }
    QPainter painter(this);
    PaintOnSkin(painter, m_place.Zoom(this));
    if (BufferAtRatio(PaintRatio(painter))) {
        DrawBuffer();
    }
    DrawPicture(painter, QPointF(0, 0), m_bufferBitmap);
}

void CCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit DoubleClicked();
    }
}
