#include "resources/ResourceTable.h"

#include "platform/ResourceIds.h"
#include "resources/ArtCatalog.h"
#include "resources/ArtRenderer.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QHash>

#include <cmath>

// Outside any namespace, as the resource initialiser requires.
static void InitArtResources() {
    Q_INIT_RESOURCE(art);
}

namespace {

// Icon sizes handed to window managers and task bars.
constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// Ratios are cached in hundredths, so 1.25 and 1.5 screens get their own renderings.
constexpr qreal kRatioSteps = 100.0;

// Ratios a hundredth apart share their pictures.
qreal RoundedRatio(qreal ratio) {
    return std::round(ratio * kRatioSteps) / kRatioSteps;
}

qreal CurrentDevicePixelRatio() {
    return qGuiApp == nullptr ? 1.0 : RoundedRatio(qGuiApp->devicePixelRatio());
}

quint64 CacheKey(int resourceId, qreal devicePixelRatio) {
    const auto ratioKey = static_cast<quint64>(std::lround(devicePixelRatio * kRatioSteps));
    return (static_cast<quint64>(static_cast<quint32>(resourceId)) << 32) | ratioKey;
}

void EnsureResourcesRegistered() {
    static const bool registered = [] {
        InitArtResources();
        return true;
    }();
    (void)registered;
}

QHash<quint64, QImage>& ImageCache() {
    static QHash<quint64, QImage> cache;
    return cache;
}

QHash<quint64, QPixmap>& PixmapCache() {
    static QHash<quint64, QPixmap> cache;
    return cache;
}

void ClearPixmapCache() {
    PixmapCache().clear();
}

QImage CachedImage(int resourceId, qreal devicePixelRatio) {
    const auto entry = FindArt(resourceId);
    if (!entry) {
        return {};
    }
    const quint64 key = CacheKey(resourceId, devicePixelRatio);
    auto& cache = ImageCache();
    if (const auto found = cache.constFind(key); found != cache.constEnd()) {
        return *found;
    }
    EnsureResourcesRegistered();
    QImage image = RenderArt(*entry, devicePixelRatio);
    cache.insert(key, image);
    return image;
}

}  // namespace

QPixmap LoadResourceBitmap(int resourceId) {
    return LoadResourceBitmapAt(resourceId, CurrentDevicePixelRatio());
}

QPixmap LoadResourceBitmapAt(int resourceId, qreal devicePixelRatio) {
    if (qGuiApp == nullptr) {
        return {};  // pixmaps need the application's window system
    }
    const qreal ratio = RoundedRatio(devicePixelRatio);
    const quint64 key = CacheKey(resourceId, ratio);
    auto& cache = PixmapCache();
    if (const auto found = cache.constFind(key); found != cache.constEnd()) {
        return *found;
    }
    const QImage image = CachedImage(resourceId, ratio);
    if (image.isNull()) {
        return {};
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    if (cache.isEmpty()) {
        // Pixmaps belong to the window system and must go before the application does;
        // the routine runs once per application, the first pixmap of each registers it.
        qAddPostRoutine(ClearPixmapCache);
    }
    cache.insert(key, pixmap);
    return pixmap;
}

QImage LoadResourceImage(int resourceId) {
    return CachedImage(resourceId, CurrentDevicePixelRatio());
}

QImage LoadResourceImageAt(int resourceId, qreal devicePixelRatio) {
    return CachedImage(resourceId, RoundedRatio(devicePixelRatio));
}

QIcon LoadResourceIcon(int resourceId) {
    if (qGuiApp == nullptr || !FindArt(resourceId)) {
        return {};
    }
    if (resourceId != ResourceId::kApplicationIcon) {
        return QIcon(LoadResourceBitmap(resourceId));
    }
    // Each size is drawn from the source, not scaled from another size.
    QIcon icon;
    const qreal logicalSide = ResourceBitmapSize(resourceId).width();
    for (const int side : kIconSizes) {
        QImage image = CachedImage(resourceId, side / logicalSide);
        image.setDevicePixelRatio(1.0);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

QSize ResourceBitmapSize(int resourceId) {
    const auto entry = FindArt(resourceId);
    return entry ? entry->logicalSize : QSize();
}
