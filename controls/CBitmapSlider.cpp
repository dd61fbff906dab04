#include "controls/CBitmapSlider.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>
#include <algorithm>
#include <limits>

#include "console/KnobDrive.h"
#include "controls/CCanvasCtrl.h"
#include "controls/CMemDC.h"
#include "controls/PaintHelpers.h"
#include "controls/PanelHooks.h"
#include "controls/SkinZoom.h"
#include "platform/ResourceIds.h"
#include "resources/ResourceTable.h"

namespace {

constexpr int kKnobRangeMax = 10;

void PostLater(QObject* receiver, std::function<void()> call) {
    QMetaObject::invokeMethod(receiver, std::move(call), Qt::QueuedConnection);
}

}  // namespace

CBitmapSlider::CBitmapSlider(int controlId, QWidget* parent)
    : QWidget(parent), m_controlId(controlId) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void CBitmapSlider::InitKnob(int x, int y) {
    m_trackLoaded = !LoadResourceBitmap(ResourceId::kKnobTrack).isNull();
    if (m_trackLoaded) {
        m_trackSize = ResourceBitmapSize(ResourceId::kKnobTrack);
        ResizeOnSkin(this, m_trackSize);
    }
    m_thumbLoaded = !LoadResourceImage(ResourceId::kKnobThumb).isNull();
    if (m_thumbLoaded) {
        m_thumbSize = ResourceBitmapSize(ResourceId::kKnobThumb);
    }
    m_position = kRestPosition;
    m_geometry = KnobGeometry{0, kKnobRangeMax, m_trackSize.height(), m_thumbSize.height()};
    update();
    MoveOnSkin(this, QPoint(x, y));
}

// The key colour is the thumb's top-left pixel; wherever the thumb has it the track shows.
// Prepared once for each pixel ratio the knob is drawn at.
const QPixmap& CBitmapSlider::ThumbAt(qreal ratio) {
    if (!m_thumbBitmap.isNull() && qFuzzyCompare(m_thumbBitmap.devicePixelRatio(), ratio)) {
        return m_thumbBitmap;
    }
    QImage keyed =
        LoadResourceImageAt(ResourceId::kKnobThumb, ratio).convertToFormat(QImage::Format_ARGB32);
    const QRgb key = keyed.pixel(0, 0);
    for (int y = 0; y < keyed.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if (line[x] == key) {
                line[x] = qRgba(0, 0, 0, 0);
            }
        }
    }
    m_thumbBitmap = QPixmap::fromImage(keyed);
    m_thumbBitmap.setDevicePixelRatio(ratio);
    return m_thumbBitmap;
}

CBitmapSlider::Face CBitmapSlider::CurrentFace() const {
    return {m_trackLoaded, m_thumbLoaded,
            m_geometry.RowOfPosition(m_position) - m_geometry.HalfThumb()};
}

bool CBitmapSlider::FaceChanged() {
    return m_shown.Changed({CurrentFace(), m_place.ClientRect(this).size()});
}

void CBitmapSlider::paintEvent(QPaintEvent*) {
    if (DrawnByWindow(redirected(nullptr))) {
        return;
    }
    QPainter target(this);
    PaintOnSkin(target, m_place.Zoom(this));
    CMemDC memDC(target, m_place.ClientRect(this));
    QPainter& painter = memDC.Painter();
    const qreal ratio = PaintRatio(painter);
    if (m_trackLoaded) {
        DrawPicture(painter, QPointF(0, 0), LoadResourceBitmapAt(ResourceId::kKnobTrack, ratio));
    } else {
        painter.fillRect(m_place.ClientRect(this), palette().window());
    }
    if (m_thumbLoaded) {
        DrawPicture(painter, QPointF(0, std::get<2>(CurrentFace())), ThumbAt(ratio));
    }
}

void CBitmapSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_buttonDown = true;
    const int pointerRow = static_cast<int>(ToSkin(this, event->position()).y());
    const int offset = pointerRow - m_geometry.RowOfPosition(m_position);
    // A press on the thumb keeps the grip; a press elsewhere makes the thumb jump there.
    m_dragOffset = std::abs(offset) <= m_geometry.HalfThumb() ? offset : 0;
    MoveTo(pointerRow);
    update();
    if (m_host != nullptr) {
        m_host->StopPolling();
    }
    m_timers.SetTimer(kRepeatTimerId, kRepeatPeriod_ms);
}

void CBitmapSlider::mouseMoveEvent(QMouseEvent* event) {
    if (m_buttonDown) {
        MoveTo(static_cast<int>(ToSkin(this, event->position()).y()));
    }
}

void CBitmapSlider::MoveTo(int pointerRow) {
    const int row = m_geometry.ClampRow(pointerRow - m_dragOffset);
    if (row == m_geometry.RowOfPosition(m_position)) {
        return;
    }
    m_position = m_geometry.ClampPosition(m_geometry.PositionOfRow(row));
    update();
    const int id = m_controlId;
    const int position = m_position;
    PostLater(this, [this, id, position] { emit KnobMoved(id, position); });
}

void CBitmapSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_buttonDown) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    EndHold();
}

void CBitmapSlider::EndHold() {
    m_buttonDown = false;
    m_position = kRestPosition;
    update();
    const int id = m_controlId;
    PostLater(this, [this, id] { emit KnobReleased(id, kRestPosition); });
    m_timers.KillTimer(kRepeatTimerId);
    if (m_host != nullptr) {
        m_host->ResumePolling();
    }
}

void CBitmapSlider::timerEvent(QTimerEvent* event) {
    if (m_timers.IdOf(event) == kRepeatTimerId) {
        OnRepeatTimer();
    }
}

// The panel's actions turn the bound parameter; a knob at rest turns nothing.
void CBitmapSlider::OnRepeatTimer() {
    const int deflection = kRestPosition - m_position;
    if (deflection != 0 && m_host != nullptr) {
        m_host->KnobTick(m_knob, deflection);
    }
}

void CBitmapSlider::TurnByKey(KnobKey key) {
    if (m_display == nullptr || m_display->Param() == nullptr || m_host == nullptr) {
        return;
    }
    if (const int amount = KeyTurn(key); amount != 0) {
        m_host->KnobKeyTurn(m_knob, amount);
    }
}

int CBitmapSlider::KeyTurn(KnobKey key) const {
    const ParamRecord& record = *m_display->Param();
    const int fullDeflection = SquaredDelta(kRestPosition - m_geometry.rangeMin);
    const bool hasRange = record.rawMin < record.rawMax;
    int amount = 0;
    switch (key) {
        case KnobKey::StepUp:
            amount = 1;
            break;
        case KnobKey::StepDown:
            amount = -1;
            break;
        case KnobKey::LargeUp:
            amount = fullDeflection;
            break;
        case KnobKey::LargeDown:
            amount = -fullDeflection;
            break;
        case KnobKey::RangeStart:
            amount = hasRange ? record.rawMin - record.value : 0;
            break;
        case KnobKey::RangeEnd:
            amount = hasRange ? record.rawMax - record.value : 0;
            break;
    }
    // A delta goes to the unit in 16 bits.
    return std::clamp(amount, static_cast<int>(std::numeric_limits<int16_t>::min()),
                      static_cast<int>(std::numeric_limits<int16_t>::max()));
}

// The knob keys turn; the rest (the panel's keys, Enter, Escape) go on to the panel.
void CBitmapSlider::keyPressEvent(QKeyEvent* event) {
    const std::optional<KnobKey> key = KnobKeyOf(*event);
    if (!key) {
        event->ignore();
        return;
    }
    TurnByKey(*key);
    event->accept();
}

void CBitmapSlider::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

// A knob that loses the focus while held (a message box popped up over it) would never see
// its button go up and would jog on by itself: the hold ends as if released.
void CBitmapSlider::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    if (m_buttonDown) {
        EndHold();
    }
    update();
}
