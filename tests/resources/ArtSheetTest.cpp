#include "resources/ArtCatalog.h"
#include "resources/ArtRenderer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QString>

// Writes every picture as PNG, at normal and double density, so a person can look at them.

namespace {

TEST(ArtSheet, WritesEveryPictureForReview) {
    const QString directory = QStringLiteral(VCP_ART_SHEET_DIR);
    ASSERT_TRUE(QDir().mkpath(directory));
    for (const ArtEntry& entry : ArtCatalog()) {
        for (const int ratio : {1, 2}) {
            const QImage image = RenderArt(entry, ratio);
            ASSERT_FALSE(image.isNull()) << entry.resourceId;
            const QString name =
                QStringLiteral("%1/%2@%3x.png").arg(directory).arg(entry.resourceId).arg(ratio);
            EXPECT_TRUE(image.save(name)) << name.toStdString();
        }
    }
}

}  // namespace
