#pragma once

#include "resources/ArtCatalog.h"

#include <QImage>

// Renders one picture at a device pixel ratio: the result has the logical size times the
// ratio in pixels and carries the ratio. A null image when the source cannot be read.
QImage RenderArt(const ArtEntry& entry, qreal devicePixelRatio);
