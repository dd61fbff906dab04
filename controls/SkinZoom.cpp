#include "controls/SkinZoom.h"

#include <QLabel>
#include <QPainter>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "resources/ResourceTable.h"

namespace {

constexpr const char* kZoomProperty = "skinZoom";
constexpr const char* kSkinRectProperty = "skinRect";
constexpr const char* kPictureProperty = "skinPicture";

// Grows with every zoom applied and every control placed, so kept places know they are old.
quint64 g_placingGeneration = 1;

int Scaled(int coordinate, double zoom) {
    return static_cast<int>(std::lround(coordinate * zoom));
}

void Replace(QWidget* widget) {
    const QVariant skin = widget->property(kSkinRectProperty);
    if (skin.isValid()) {
        widget->setGeometry(ScaledRect(skin.toRect(), ZoomOf(widget)));
    }
}

void RedrawPicture(QLabel* label) {
    const QVariant bitmap = label->property(kPictureProperty);
    if (bitmap.isValid()) {
        label->setPixmap(
            LoadResourceBitmapAt(bitmap.toInt(), label->devicePixelRatioF() * ZoomOf(label)));
    }
}

}  // namespace

double ZoomOf(const QWidget* widget) {
    if (widget == nullptr) {
        return 1.0;
    }
    const QVariant zoom = widget->window()->property(kZoomProperty);
    return zoom.isValid() ? zoom.toDouble() : 1.0;
}

void ApplyZoom(QWidget* window, const QSize& skinSize, double zoom) {
    zoom = std::clamp(zoom, kSmallestZoom, kLargestZoom);
    window->setProperty(kZoomProperty, zoom);
    ++g_placingGeneration;
    for (QWidget* child : window->findChildren<QWidget*>()) {
        Replace(child);
        if (auto* label = qobject_cast<QLabel*>(child)) {
            RedrawPicture(label);
        }
        child->update();
    }
    window->setFixedSize(ScaledRect(QRect(QPoint(0, 0), skinSize), zoom).size());
    window->update();
}

QRect ScaledRect(const QRect& skin, double zoom) {
    const int left = Scaled(skin.left(), zoom);
    const int top = Scaled(skin.top(), zoom);
    return QRect(left, top, Scaled(skin.left() + skin.width(), zoom) - left,
                 Scaled(skin.top() + skin.height(), zoom) - top);
}

void PlaceOnSkin(QWidget* widget, const QRect& skin) {
    widget->setProperty(kSkinRectProperty, skin);
    ++g_placingGeneration;
    Replace(widget);
}

void MoveOnSkin(QWidget* widget, const QPoint& topLeft) {
    PlaceOnSkin(widget, QRect(topLeft, SkinGeometry(widget).size()));
}

void ResizeOnSkin(QWidget* widget, const QSize& size) {
    PlaceOnSkin(widget, QRect(SkinGeometry(widget).topLeft(), size));
}

// A widget moved or resized by other means than the skin's is where it now stands.
QRect SkinGeometry(const QWidget* widget) {
    const double zoom = ZoomOf(widget);
    const QVariant skin = widget->property(kSkinRectProperty);
    if (skin.isValid() && ScaledRect(skin.toRect(), zoom) == widget->geometry()) {
        return skin.toRect();
    }
    return ScaledRect(widget->geometry(), 1.0 / zoom);
}

QRect SkinClientRect(const QWidget* widget) {
    return QRect(QPoint(0, 0), SkinGeometry(widget).size());
}

void PaintOnSkin(QPainter& painter, const QWidget* widget) {
    PaintOnSkin(painter, ZoomOf(widget));
}

void PaintOnSkin(QPainter& painter, double zoom) {
    if (zoom != 1.0) {
        painter.scale(zoom, zoom);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    }
}

double SkinPlace::Zoom(const QWidget* widget) {
    Refresh(widget);
    return m_zoom;
}

QRect SkinPlace::Geometry(const QWidget* widget) {
    Refresh(widget);
    return m_skin;
}

QRect SkinPlace::ClientRect(const QWidget* widget) {
    return QRect(QPoint(0, 0), Geometry(widget).size());
}

void SkinPlace::Refresh(const QWidget* widget) {
    if (m_generation == g_placingGeneration && m_window == widget->window() &&
        m_geometry == widget->geometry()) {
        return;
    }
    m_generation = g_placingGeneration;
    m_window = widget->window();
    m_geometry = widget->geometry();
    m_zoom = ZoomOf(widget);
    m_skin = SkinGeometry(widget);
}

QPointF ToSkin(const QWidget* widget, const QPointF& position) {
    return position / ZoomOf(widget);
}

qreal PaintRatio(const QPainter& painter) {
    const qreal deviceRatio =
        painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1.0;
    return deviceRatio * painter.worldTransform().m11();
}

qreal BufferRatio(qreal paintRatio) {
    return std::max(1.0, paintRatio);
}

void ShowSkinPicture(QLabel* label, int bitmapId) {
    label->setProperty(kPictureProperty, bitmapId);
    label->setScaledContents(true);
    RedrawPicture(label);
}
