#include "platform/ResourceIds.h"
#include "resources/ResourceTable.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRect>

#include <map>

// The skin is drawn from resources/art/layout.json. These tests hold that table to the
// places where the panel puts its controls, and the drawn skin to the table.

namespace {

QJsonObject ReadLayout() {
    QFile file(QStringLiteral(VCP_ART_LAYOUT));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QJsonDocument::fromJson(file.readAll()).object();
}

QRect ToRect(const QJsonValue& value) {
    const QJsonArray a = value.toArray();
    return QRect(a.at(0).toInt(), a.at(1).toInt(), a.at(2).toInt(), a.at(3).toInt());
}

std::map<int, QRect> RectsById(const QJsonObject& layout, const char* group) {
    std::map<int, QRect> rects;
    for (const QJsonValue& item : layout.value(QLatin1String(group)).toArray()) {
        rects[item.toObject().value(QStringLiteral("id")).toInt()] =
            ToRect(item.toObject().value(QStringLiteral("rect")));
    }
    return rects;
}

// Where the panel places its controls, one row per control id.
std::map<int, QRect> PanelPlacements() {
    std::map<int, QRect> places;
    for (int i = 0; i < 4; ++i) {
        places[1125 + i] = QRect(97 + 69 * i, 164, 32, 32);
        places[1146 + i] = QRect(95 + 70 * i, 121, 32, 32);
    }
    places[1129] = QRect(166, 260, 32, 32);
    places[1130] = QRect(235, 260, 32, 32);
    places[1131] = QRect(304, 260, 32, 32);
    places[1132] = QRect(28, 356, 32, 32);
    places[1133] = QRect(235, 356, 32, 32);
    places[1134] = QRect(304, 356, 32, 32);
    places[1135] = QRect(235, 452, 32, 32);
    places[1136] = QRect(304, 452, 32, 32);
    places[1137] = QRect(28, 548, 32, 32);
    places[1138] = QRect(235, 548, 32, 32);
    places[1139] = QRect(304, 548, 32, 32);
    for (int i = 0; i < 5; ++i) {
        places[1140 + i] = QRect(28 + 69 * i, 644, 32, 32);
    }
    places[1145] = QRect(28, 452, 32, 32);
    places[1150] = QRect(27, 602, 32, 32);
    places[1151] = QRect(97, 602, 32, 32);
    places[1152] = QRect(167, 602, 32, 32);
    places[1153] = QRect(234, 602, 32, 32);
    places[1154] = QRect(305, 602, 32, 32);
    const int rows[] = {65, 235, 405, 574};
    const int displayIds[] = {1016, 1007, 1008, 1009, 1010, 1011, 1012, 1013};
    for (int i = 0; i < 4; ++i) {
        places[1117 + i] = QRect(384, rows[i], 34, 87);
        places[1121 + i] = QRect(1232, rows[i], 34, 87);
        places[displayIds[i]] = QRect(425, rows[i], 148, 91);
        places[displayIds[i + 4]] = QRect(1077, rows[i], 148, 91);
    }
    const QPoint menuButtons[] = {{667, 179}, {787, 179}, {907, 179}, {607, 228}, {727, 228},
                                  {847, 228}, {967, 228}, {667, 277}, {787, 277}, {907, 277}};
    for (int i = 0; i < 10; ++i) {
        places[1020 + i] = QRect(menuButtons[i], QSize(74, 33));
    }
    for (int i = 0; i < 6; ++i) {
        places[1030 + i] = QRect(592 + 78 * i, 370, 76, 35);
    }
    return places;
}

std::map<int, QRect> LayoutPlacements(const QJsonObject& layout) {
    std::map<int, QRect> places;
    for (const char* group :
         {"keys", "indicators", "knobs", "displays", "menuButtons", "functionButtons"}) {
        places.merge(RectsById(layout, group));
    }
    return places;
}

int Brightness(QRgb pixel) {
    return qMax(qRed(pixel), qMax(qGreen(pixel), qBlue(pixel)));
}

// Printed labels are light; everything the skin puts under a control is dark.
constexpr int kPrintedInkBrightness = 150;

// Letters and words of one label are closer than this; neighbouring labels farther apart.
constexpr int kGapBetweenLabels = 8;

bool HasInk(const QImage& skin, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (Brightness(skin.pixel(x, y)) >= kPrintedInkBrightness) {
                return true;
            }
        }
    }
    return false;
}

TEST(SkinLayout, TableMatchesWhereThePanelPutsEveryControl) {
    const auto expected = PanelPlacements();
    const auto actual = LayoutPlacements(ReadLayout());
    EXPECT_EQ(actual.size(), expected.size());
    for (const auto& [id, rect] : expected) {
        const auto found = actual.find(id);
        ASSERT_NE(found, actual.end()) << id;
        EXPECT_EQ(found->second, rect) << id;
    }
    const QJsonObject layout = ReadLayout();
    const QJsonObject screen = layout.value(QStringLiteral("screen")).toObject();
    EXPECT_EQ(ToRect(screen.value(QStringLiteral("badge"))), QRect(725, 65, 200, 28));
    EXPECT_EQ(ToRect(screen.value(QStringLiteral("title"))), QRect(600, 99, 450, 30));
    EXPECT_EQ(ToRect(layout.value(QStringLiteral("infoLine"))), QRect(596, 463, 458, 82));
    const QJsonObject strip = layout.value(QStringLiteral("statusStrip")).toObject();
    const QJsonArray lamps = strip.value(QStringLiteral("onLineLamps")).toArray();
    ASSERT_EQ(lamps.size(), 4);
    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ(ToRect(lamps.at(n)), QRect(652 + 20 * n, 578, 15, 15)) << n;
    }
    EXPECT_EQ(ToRect(strip.value(QStringLiteral("selectedLamp"))), QRect(801, 578, 15, 15));
    EXPECT_EQ(ToRect(strip.value(QStringLiteral("swatch"))), QRect(900, 578, 46, 16));
    EXPECT_EQ(ToRect(strip.value(QStringLiteral("darkLamp"))), QRect(1010, 578, 36, 16));
    const QJsonObject settings = layout.value(QStringLiteral("settingsStrip")).toObject();
    EXPECT_EQ(ToRect(settings.value(QStringLiteral("field"))), QRect(706, 629, 200, 15));
}

TEST(SkinLayout, NoPrintingUnderAnyControl) {
    const QImage skin = LoadResourceImage(ResourceId::kPanelSkin);
    ASSERT_EQ(skin.size(), QSize(1280, 760));
    for (const auto& [id, rect] : PanelPlacements()) {
        EXPECT_FALSE(HasInk(skin, rect)) << id;
    }
    EXPECT_FALSE(HasInk(skin, QRect(725, 65, 200, 28)));
    EXPECT_FALSE(HasInk(skin, QRect(596, 463, 458, 82)));
}

TEST(SkinLayout, EveryKeyHasItsLabelPrintedJustBelowIt) {
    const QImage skin = LoadResourceImage(ResourceId::kPanelSkin);
    for (const QJsonValue& item : ReadLayout().value(QStringLiteral("keys")).toArray()) {
        const QJsonObject key = item.toObject();
        const QRect rect = ToRect(key.value(QStringLiteral("rect")));
        const QRect labelBand(rect.left(), rect.bottom() + 4, rect.width(), 14);
        EXPECT_TRUE(HasInk(skin, labelBand)) << key.value(QStringLiteral("id")).toInt();
        // Centred: the run of ink around the key's centre line, up to the first wide gap,
        // is as wide on either side.
        const auto columnHasInk = [&](int x) {
            return x >= 0 && x < skin.width() && HasInk(skin, QRect(x, labelBand.top(), 1, 14));
        };
        const auto runEnd = [&](int step) {
            int x = rect.center().x();
            for (int gap = 0; gap < kGapBetweenLabels; x += step) {
                gap = columnHasInk(x) ? 0 : gap + 1;
            }
            return x - step * kGapBetweenLabels;
        };
        const int left = runEnd(-1);
        const int right = runEnd(+1);
        EXPECT_NEAR((left + right) / 2.0, rect.left() + rect.width() / 2.0, 1.5)
            << key.value(QStringLiteral("label")).toString().toStdString();
    }
}

}  // namespace
