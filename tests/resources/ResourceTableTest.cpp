#include "platform/ResourceIds.h"
#include "resources/ArtCatalog.h"
#include "resources/ArtRenderer.h"
#include "resources/ResourceTable.h"

#include <gtest/gtest.h>

#include <QColor>

namespace {

using namespace ResourceId;

bool HasTransparentPixel(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(argb.pixel(x, y)) != 255) {
                return true;
            }
        }
    }
    return false;
}

int CountPixelsOfColour(const QImage& image, QRgb rgb) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += (image.pixel(x, y) & 0xFFFFFFu) == rgb ? 1 : 0;
        }
    }
    return count;
}

TEST(ResourceTable, EveryNamedPictureLoadsAtItsLogicalSize) {
    const struct {
        int id;
        QSize size;
    } kExpected[] = {
        {kPanelSkin, {1280, 760}},
        {kInfoLine, {458, 82}},
        {kMenuButton, {74, 33}},
        {kFunctionButtonLit, {76, 35}},
        {kFunctionButtonUnlit, {76, 35}},
        {kKnobTrack, {34, 87}},
        {kKnobThumb, {34, 11}},
        {kToggleUnitOn, {32, 32}},
        {kToggleKeyOff, {32, 32}},
        {kToggleUnitOnAir, {32, 32}},
        {kToggleLatchOn, {32, 32}},
        {kToggleShortcutOn, {32, 32}},
        {kToggleSystemOn, {32, 32}},
        {kToggleSystemOff, {32, 32}},
        {kOnLineLampUnit1, {15, 15}},
        {kOnLineLampUnit2, {15, 15}},
        {kOnLineLampUnit3, {15, 15}},
        {kOnLineLampUnit4, {15, 15}},
        {kBadgeModel4, {200, 28}},
        {kBadgeModel5, {200, 28}},
        {kBadgeModel7, {200, 28}},
        {kBadgeModel9, {200, 28}},
        {kBadgeModel11, {200, 28}},
        {kBadgeModel80, {200, 28}},
        {kBadgeModel81, {200, 28}},
        {kBadgeModel177, {200, 28}},
        {kBadgeNoModel, {200, 28}},
        {kUnitIndicatorIcon, {32, 32}},
        {kFunctionIndicatorIcon, {32, 32}},
        {kRoutingNoteIcon, {32, 32}},
        {kApplicationIcon, {32, 32}},
    };
    for (const auto& expected : kExpected) {
        SCOPED_TRACE(expected.id);
        EXPECT_EQ(ResourceBitmapSize(expected.id), expected.size);
        const QPixmap pixmap = LoadResourceBitmap(expected.id);
        ASSERT_FALSE(pixmap.isNull());
        EXPECT_EQ(pixmap.deviceIndependentSize().toSize(), expected.size);
        EXPECT_EQ(LoadResourceImage(expected.id).deviceIndependentSize().toSize(), expected.size);
    }
    EXPECT_FALSE(LoadResourceIcon(kApplicationIcon).isNull());
}

TEST(ResourceTable, UnknownNumbersGiveNothing) {
    for (const int id : {0, -1, 127, 153, 189, 200, 1000}) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(LoadResourceBitmap(id).isNull());
        EXPECT_TRUE(LoadResourceImage(id).isNull());
        EXPECT_TRUE(LoadResourceIcon(id).isNull());
        EXPECT_FALSE(ResourceBitmapSize(id).isValid());
    }
}

TEST(ResourceTable, RepeatedLoadsShareOnePicture) {
    const QPixmap first = LoadResourceBitmap(kPanelSkin);
    const QPixmap second = LoadResourceBitmap(kPanelSkin);
    EXPECT_EQ(first.cacheKey(), second.cacheKey());
}

TEST(ResourceTable, BitmapPicturesAreOpaqueEverywhere) {
    // Controls copy these pictures over the skin as solid blocks; a hole would show
    // whatever the window system left there.
    for (const ArtEntry& entry : ArtCatalog()) {
        if (entry.finish != ArtFinish::kOpaque) {
            continue;
        }
        SCOPED_TRACE(entry.resourceId);
        const QImage image = LoadResourceImage(entry.resourceId);
        ASSERT_FALSE(image.isNull());
        EXPECT_FALSE(image.hasAlphaChannel() && HasTransparentPixel(image));
    }
}

TEST(ResourceTable, HighDensityScreensGetSharperPicturesOfTheSameLogicalSize) {
    for (const qreal ratio : {1.0, 1.5, 2.0, 3.0}) {
        SCOPED_TRACE(ratio);
        const auto entry = FindArt(kMenuButton);
        ASSERT_TRUE(entry.has_value());
        const QImage image = RenderArt(*entry, ratio);
        EXPECT_EQ(image.width(), qRound(74 * ratio));
        EXPECT_EQ(image.height(), qRound(33 * ratio));
        EXPECT_DOUBLE_EQ(image.devicePixelRatio(), ratio);
        EXPECT_EQ(image.deviceIndependentSize().toSize(), QSize(74, 33));
    }
}

TEST(ResourceTable, KnobThumbCarriesItsKeyColourOnlyAroundTheCap) {
    for (const qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        const QImage thumb = RenderArt(*FindArt(kKnobThumb), ratio);
        ASSERT_FALSE(thumb.isNull());
        const QRgb key = thumb.pixel(0, 0) & 0xFFFFFFu;
        EXPECT_EQ(key, kThumbKeyColour);
        // The whole left column is outside the cap, and the cap's middle row is not keyed.
        for (int y = 0; y < thumb.height(); ++y) {
            EXPECT_EQ(thumb.pixel(0, y) & 0xFFFFFFu, key) << "row " << y;
        }
        const int middle = thumb.height() / 2;
        for (int x = thumb.width() / 8; x < thumb.width() * 7 / 8; ++x) {
            EXPECT_NE(thumb.pixel(x, middle) & 0xFFFFFFu, key) << "column " << x;
        }
        // No pixel is a blend that merely resembles the key colour: the mask is exact.
        const int keyed = CountPixelsOfColour(thumb, key);
        int nearKey = 0;
        for (int y = 0; y < thumb.height(); ++y) {
            for (int x = 0; x < thumb.width(); ++x) {
                const QColor colour(thumb.pixel(x, y));
                const bool magentaTinted =
                    colour.red() > 150 && colour.blue() > 150 && colour.green() < 100;
                nearKey += magentaTinted ? 1 : 0;
            }
        }
        EXPECT_EQ(nearKey, keyed);
    }
}

TEST(ResourceTable, ApplicationIconOffersEverySizeDrawnSharp) {
    const QIcon icon = LoadResourceIcon(kApplicationIcon);
    const QList<QSize> sizes = icon.availableSizes();
    for (const int side : {16, 32, 48, 256}) {
        EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
    }
}

TEST(ResourceTable, OnLineLampsDifferPerUnit) {
    // The selected-unit place shows one of these four, so each must be told apart.
    for (int first = 0; first < 4; ++first) {
        for (int second = first + 1; second < 4; ++second) {
            EXPECT_NE(LoadResourceImage(kOnLineLamps[first]),
                      LoadResourceImage(kOnLineLamps[second]));
        }
    }
}

TEST(ResourceTable, ToggleFacesOnDifferFromOff) {
    const int kOff[] = {kToggleKeyOff, kToggleSystemOff};
    const int kOn[] = {kToggleUnitOn, kToggleLatchOn, kToggleShortcutOn, kToggleSystemOn};
    for (const int on : kOn) {
        for (const int off : kOff) {
            EXPECT_NE(LoadResourceImage(on), LoadResourceImage(off)) << on << " vs " << off;
        }
    }
    EXPECT_NE(LoadResourceImage(kFunctionButtonLit), LoadResourceImage(kFunctionButtonUnlit));
}

}  // namespace
