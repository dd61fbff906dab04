#include "controls/WindowFace.h"

#include <QBackingStore>
#include <QPainter>
#include <QWidget>

#include "controls/PaintHelpers.h"

namespace {

// A control made opaque after it was kept hides the window beneath it, so the window is not
// painted there when the control asks for a paint: it paints itself.
bool PaintsItself(const QWidget* control) {
    return control == nullptr || control->testAttribute(Qt::WA_OpaquePaintEvent);
}

}  // namespace

bool KeptFace::DrawnByWindow(const QPaintDevice* target) const {
    return m_keeper != nullptr && m_keeper->DrewOnScreen(target) &&
           !PaintsItself(dynamic_cast<const QWidget*>(this));
}

WindowFace::WindowFace(QWidget* window, DrawGround drawGround)
    : m_window(window), m_drawGround(std::move(drawGround)) {}

// The window's children outlive its members: they must not reach a face that is gone.
WindowFace::~WindowFace() {
    for (const Kept& kept : std::as_const(m_kept)) {
        kept.face->m_keeper = nullptr;
        QObject::disconnect(kept.gone);
    }
}

void WindowFace::Keep(QWidget* control) {
    auto* face = dynamic_cast<KeptFace*>(control);
    if (face == nullptr || m_kept.contains(control)) {
        return;
    }
    face->m_keeper = this;
    control->setAttribute(Qt::WA_OpaquePaintEvent, false);
    m_kept.insert(control, {face, QObject::connect(control, &QObject::destroyed, [this, control] {
                                m_kept.remove(control);
                                m_drawn.remove(control);
                            })});
}

void WindowFace::KeepChildren() {
    for (QWidget* child : m_window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        Keep(child);
    }
    m_picture = QPixmap();  // drawn again whole, with the controls now kept
}

void WindowFace::Paint(QPainter& painter, const QRegion& region, const QPaintDevice* target) {
    m_shownOnScreen = OnScreen(target);
    if (!m_shownOnScreen) {
        m_drawGround(painter, region);
        return;
    }
    const qreal ratio = m_window->devicePixelRatioF();
    const QSize size = m_window->size() * ratio;
    if (m_picture.size() != size || !qFuzzyCompare(m_picture.devicePixelRatio(), ratio)) {
        m_picture = QPixmap(size);
        m_picture.setDevicePixelRatio(ratio);
        m_picture.fill(Qt::black);
        m_drawn.clear();
        StaleRegion();
        Redraw(m_window->rect());
    } else if (const QRegion stale = StaleRegion(); !stale.isEmpty()) {
        Redraw(stale);
    }
    ShowPicture(painter, region);
}

bool WindowFace::DrewOnScreen(const QPaintDevice* target) const {
    return m_shownOnScreen && OnScreen(target);
}

// The screen is the window's backing store; a grab paints on a picture of its own and a
// render on a painter's, where each control paints itself.
bool WindowFace::OnScreen(const QPaintDevice* target) const {
    QBackingStore* store = m_window->backingStore();
    return target != nullptr && store != nullptr && target == store->paintDevice();
}

QRegion WindowFace::StaleRegion() {
    QRegion stale;
    for (QObject* child : m_window->children()) {
        const auto kept = m_kept.constFind(child);
        if (kept == m_kept.constEnd()) {
            continue;
        }
        const auto* control = static_cast<const QWidget*>(child);
        // Every face is asked, so each one's change is taken once.
        const bool changed = kept->face->FaceChanged();
        const Drawn now{control->geometry(), control->isVisible() && !PaintsItself(control)};
        Drawn& drawn = m_drawn[child];
        if (changed || now.place != drawn.place || now.shown != drawn.shown) {
            if (drawn.shown) {
                stale += drawn.place;
            }
            if (now.shown) {
                stale += now.place;
            }
            drawn = now;
        }
    }
    return stale;
}

// The ground, then each kept control in the order the window stacks them, each painted
// straight onto the picture as it would be on the screen (a render through a painter would
// go by a transparent picture of its own and blend it).
void WindowFace::Redraw(const QRegion& stale) {
    ++m_redrawCount;
    {
        QPainter painter(&m_picture);
        painter.setClipRegion(stale);
        m_drawGround(painter, stale);
    }
    for (QObject* child : m_window->children()) {
        if (!m_kept.contains(child)) {
            continue;
        }
        auto* control = static_cast<QWidget*>(child);
        const QRect place = control->geometry();
        const QRegion part = stale.intersected(place);
        if (control->isVisible() && !PaintsItself(control) && !part.isEmpty()) {
            control->render(&m_picture, place.topLeft(), part.translated(-place.topLeft()),
                            QWidget::DrawChildren);
        }
    }
}

// Block copies, rectangle by rectangle: what the window's opaque controls leave of it is no
// rectangle, and a copy clipped to such a region goes span by span.
void WindowFace::ShowPicture(QPainter& painter, const QRegion& region) const {
    for (const QRect& area : region) {
        painter.setClipRect(area);
        DrawPicture(painter, QPointF(0, 0), m_picture);
    }
}
