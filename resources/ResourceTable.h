#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>

// The program's pictures by resource number (platform/ResourceIds.h). Each is drawn at its
// logical size; on a high-DPI screen it is rendered at the screen's pixel ratio and carries
// that ratio, so it stays crisp. Results are cached.

QPixmap LoadResourceBitmap(int resourceId);  // null pixmap for an unknown id
QImage LoadResourceImage(int resourceId);    // same picture as an image
// The same at another pixel ratio: a zoomed panel draws its pictures at the screen's ratio
// times the zoom, so they stay crisp.
QPixmap LoadResourceBitmapAt(int resourceId, qreal devicePixelRatio);
QImage LoadResourceImageAt(int resourceId, qreal devicePixelRatio);
QIcon LoadResourceIcon(int resourceId);    // the application icon (128) etc.
QSize ResourceBitmapSize(int resourceId);  // logical size in pixels; invalid for an unknown id
