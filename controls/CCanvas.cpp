#include "controls/CCanvas.h"

#include <QMouseEvent>
#include <QPainter>

CCanvas::CCanvas(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CCanvas::Place(int x, int y) {
    setGeometry(x, y, kWidth, kHeight);
    if (m_bufferBitmap.isNull()) {
        const qreal ratio = devicePixelRatioF();
        m_bufferBitmap = QPixmap(QSize(kWidth, kHeight) * ratio);
        m_bufferBitmap.setDevicePixelRatio(ratio);
        m_bufferBitmap.fill(Qt::black);
    }
    update();
}

void CCanvas::Draw(QPainter&) {}

void CCanvas::Redraw() {
    if (m_bufferBitmap.isNull()) {
        return;
    }
    {
        QPainter painter(&m_bufferBitmap);
        Draw(painter);
    }
    if (isVisible()) {
        repaint();
    }
}

void CCanvas::paintEvent(QPaintEvent*) {
    if (m_bufferBitmap.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_bufferBitmap);
}

void CCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit DoubleClicked();
    }
}
