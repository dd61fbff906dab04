#include "resources/ArtRenderer.h"

#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

namespace {

// Pixels whose coverage is below half belong to the outside once the edge is made hard.
constexpr int kHalfCoverage = 128;

QSize PixelSize(QSize logicalSize, qreal devicePixelRatio) {
    return QSize(static_cast<int>(std::lround(logicalSize.width() * devicePixelRatio)),
                 static_cast<int>(std::lround(logicalSize.height() * devicePixelRatio)));
}

// The knob draws the thumb through a mask of exact key-colour pixels, so the thumb's edge
// must not blend into the key colour: every pixel is either the shape or the key colour.
QImage HardenAgainstKeyColour(const QImage& rendered) {
    QImage keyed(rendered.size(), QImage::Format_RGB32);
    const QImage source = rendered.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            out[x] = qAlpha(in[x]) >= kHalfCoverage ? (in[x] | 0xFF000000u)
                                                    : (kThumbKeyColour | 0xFF000000u);
        }
    }
    return keyed;
}

}  // namespace

QImage RenderArt(const ArtEntry& entry, qreal devicePixelRatio) {
    QSvgRenderer renderer(QString::fromLatin1(entry.sourcePath));
    if (!renderer.isValid()) {
        return {};
    }
    QImage canvas(PixelSize(entry.logicalSize, devicePixelRatio),
                  QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        renderer.render(&painter, QRectF(QPointF(0, 0), canvas.size()));
    }
    QImage finished;
    switch (entry.finish) {
        case ArtFinish::kOpaque: {
            // Sources paint their own background; black shows any hole as a fault, not as
            // whatever lay beneath.
            finished = QImage(canvas.size(), QImage::Format_RGB32);
            finished.fill(Qt::black);
            QPainter painter(&finished);
            painter.drawImage(0, 0, canvas);
            break;
        }
        case ArtFinish::kTransparent:
            finished = canvas;
            break;
        case ArtFinish::kKeyedCorners:
            finished = HardenAgainstKeyColour(canvas);
            break;
    }
    finished.setDevicePixelRatio(devicePixelRatio);
    return finished;
}
