#pragma once

#include <QPointF>
#include <QRect>

class QLabel;
class QPainter;
class QWidget;

// The panel is laid out in skin coordinates and reaches the screen as one picture scaled by
// its window's zoom. A control is placed by its skin rectangle, paints in skin coordinates on
// a painter scaled by the zoom, and reads the pointer in skin coordinates; its pictures are
// drawn at the screen's pixel ratio times the zoom, so every step stays crisp. A control
// outside a zoomed window (a test's, a dialog's) works at zoom 1.

constexpr double kSmallestZoom = 0.5;
constexpr double kLargestZoom = 2.0;

// The zoom of `widget`'s window; 1 when the window has none.
double ZoomOf(const QWidget* widget);
// Sets the zoom of `window` (held to the smallest and largest), re-places every control
// placed on its skin, re-draws its pictures at the new ratio and resizes the window to its
// skin size times the zoom.
void ApplyZoom(QWidget* window, const QSize& skinSize, double zoom);

// The skin rectangle scaled, edge by edge, so neighbours stay neighbours.
QRect ScaledRect(const QRect& skin, double zoom);
// Places `widget` at `skin` in its parent's skin coordinates.
void PlaceOnSkin(QWidget* widget, const QRect& skin);
void MoveOnSkin(QWidget* widget, const QPoint& topLeft);
void ResizeOnSkin(QWidget* widget, const QSize& size);
// Where `widget` lies on the skin (its geometry unscaled when it was never placed on it or
// was moved since).
QRect SkinGeometry(const QWidget* widget);
// The widget's own area in skin coordinates: (0, 0) and its skin size.
QRect SkinClientRect(const QWidget* widget);

// Scales `painter` so the widget paints in skin coordinates.
void PaintOnSkin(QPainter& painter, const QWidget* widget);
void PaintOnSkin(QPainter& painter, double zoom);

// A control's zoom and skin place as its paints use them. Reading them from the window costs
// a look-up by name each time, so the control keeps them and reads them again only when a
// zoom was applied or a control placed since, or the control moved or changed its window.
class SkinPlace {
  public:
    double Zoom(const QWidget* widget);
    QRect Geometry(const QWidget* widget);
    // (0, 0) and the skin size, as SkinClientRect.
    QRect ClientRect(const QWidget* widget);

  private:
    void Refresh(const QWidget* widget);

    quint64 m_generation = 0;  // of the placing last read; 0 never
    const QWidget* m_window = nullptr;
    QRect m_geometry;
    double m_zoom = 1.0;
    QRect m_skin;
};
// A pointer position on the widget in skin coordinates.
QPointF ToSkin(const QWidget* widget, const QPointF& position);
// The pixel ratio a picture drawn by `painter` needs: its device's ratio times its scale.
qreal PaintRatio(const QPainter& painter);
// The ratio an off-screen picture is drawn at for `paintRatio`: text drawn below one pixel
// per pixel loses its shapes, so a smaller panel draws at one and is scaled down.
qreal BufferRatio(qreal paintRatio);

// Shows resource picture `bitmapId` on `label` filling it, at the label's ratio and zoom;
// ApplyZoom draws it again at a new zoom.
void ShowSkinPicture(QLabel* label, int bitmapId);
