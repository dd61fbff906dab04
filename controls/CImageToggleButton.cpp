#include "controls/CImageToggleButton.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "controls/ControlKeys.h"
#include "controls/PaintHelpers.h"
#include "controls/SkinZoom.h"
#include "resources/ResourceTable.h"

CImageToggleButton::CImageToggleButton(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::TabFocus);
}

void CImageToggleButton::SetBitmaps(int onBitmapId, int offBitmapId, int thirdBitmapId) {
    m_onBitmapId = onBitmapId;
    m_offBitmapId = offBitmapId;
    m_thirdBitmapId = thirdBitmapId;
    update();
}

void CImageToggleButton::SetOn(bool on) {
    if (on != m_on) {
        m_on = on;
        update();
    }
}

CImageToggleButton::Face CImageToggleButton::CurrentFace() {
    const QSize size = m_place.ClientRect(this).size();
    return {m_on ? m_onBitmapId : m_offBitmapId, size.width(), size.height()};
}

bool CImageToggleButton::FaceChanged() {
    return m_shown.Changed(CurrentFace());
}

void CImageToggleButton::paintEvent(QPaintEvent*) {
    if (DrawnByWindow(redirected(nullptr))) {
        return;
    }
    QPainter painter(this);
    PaintOnSkin(painter, m_place.Zoom(this));
    const QPixmap picture =
        LoadResourceBitmapAt(m_on ? m_onBitmapId : m_offBitmapId, PaintRatio(painter));
    if (picture.isNull()) {
        return;  // what lies beneath stays
    }
    const QSize size =
        picture.deviceIndependentSize().toSize().boundedTo(m_place.ClientRect(this).size());
    if (size == picture.deviceIndependentSize().toSize()) {
        DrawPicture(painter, QPointF(0, 0), picture);
    } else {
        painter.drawPixmap(QPoint(0, 0), picture,
                           QRect(QPoint(0, 0), size * picture.devicePixelRatio()));
    }
}

void CImageToggleButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit Pressed();
    }
    event->accept();
}

// The second click of a double-click is not another press.
void CImageToggleButton::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void CImageToggleButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space) {
        if (!event->isAutoRepeat()) {
            SetOn(!IsOn());
        }
        event->accept();
        return;
    }
    if (IsEnterKey(*event)) {
        if (!event->isAutoRepeat()) {
            emit Pressed();
        }
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}
