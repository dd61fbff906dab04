#include "platform/ResourceIds.h"
#include "resources/ArtCatalog.h"
#include "resources/ArtRenderer.h"
#include "resources/ResourceTable.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>
#include <QString>

// Writes every picture as PNG, at normal and double density, a contact sheet of the small
// ones, and the skin with every control's picture in place, so a person can judge them.

namespace {

using namespace ResourceId;

QString SheetFolder() {
    return QString::fromStdString(ScreenshotFolder()) + QStringLiteral("/art");
}

QString SheetPath(const QString& name) {
    return SheetFolder() + QLatin1Char('/') + name;
}

void DrawAt(QPainter& painter, int x, int y, int resourceId) {
    painter.drawImage(QPoint(x, y), LoadResourceImage(resourceId));
}

void DrawCaption(QPainter& painter, const QRect& box, const QString& caption, bool twoLines) {
    painter.setPen(QColor(217, 217, 217));
    QFont font(QStringLiteral("Trebuchet MS"));
    font.setPixelSize(13);
    painter.setFont(font);
    const QRect textBox = box.translated(0, -1);
    if (!twoLines) {
        painter.drawText(textBox, Qt::AlignCenter, caption);
        return;
    }
    const QStringList lines = caption.split(QLatin1Char('\n'));
    painter.drawText(textBox, Qt::AlignHCenter | Qt::AlignTop, lines.value(0));
    painter.drawText(textBox.translated(0, 16), Qt::AlignHCenter | Qt::AlignTop, lines.value(1));
}

// A knob display as the panel draws it: grey card, name, gauge and value box.
void DrawSampleDisplay(QPainter& painter, int x, int y, const QString& name, int percent) {
    const QRect card(x, y, 148, 91);
    painter.setPen(Qt::black);
    painter.setBrush(QColor(153, 153, 153));
    painter.drawRect(card.adjusted(0, 0, -1, -1));
    QFont font(QStringLiteral("Trebuchet MS"));
    font.setPixelSize(15);
    painter.setFont(font);
    painter.drawText(QRect(x, y + 4, 148, 20), Qt::AlignHCenter, name);
    painter.setBrush(QColor(127, 183, 59));
    painter.drawRect(x + 10, y + 30, 128 * percent / 100, 16);
    painter.setBrush(QColor(64, 64, 64));
    painter.drawRoundedRect(x + 34, y + 56, 80, 26, 5, 5);
    painter.setPen(Qt::white);
    painter.drawText(QRect(x + 34, y + 56, 80, 26), Qt::AlignCenter, QString::number(percent));
}

QImage ComposePanel() {
    QImage panel = LoadResourceImage(kPanelSkin).copy();
    QPainter painter(&panel);
    painter.setRenderHint(QPainter::Antialiasing);

    // Unit 2 selected and on air; view FG; shortcut MATTE lit; memory 3 lit with its lamp.
    const int unitFaces[] = {kToggleKeyOff, kToggleUnitOn, kToggleKeyOff, kToggleKeyOff};
    for (int i = 0; i < 4; ++i) {
        DrawAt(painter, 97 + 69 * i, 164, unitFaces[i]);
    }
    DrawAt(painter, 95 + 70 * 1, 121, kUnitIndicatorIcon);
    DrawAt(painter, 166, 260, kToggleSystemOn);
    DrawAt(painter, 235, 260, kToggleSystemOff);
    DrawAt(painter, 304, 260, kToggleSystemOff);
    DrawAt(painter, 28, 356, kToggleSystemOff);
    DrawAt(painter, 28, 452, kToggleSystemOff);
    DrawAt(painter, 28, 548, kToggleLatchOn);
    DrawAt(painter, 235, 356, kToggleShortcutOn);
    for (const QPoint at : {QPoint(304, 356), QPoint(235, 452), QPoint(304, 452), QPoint(235, 548),
                            QPoint(304, 548)}) {
        DrawAt(painter, at.x(), at.y(), kToggleKeyOff);
    }
    for (int i = 0; i < 5; ++i) {
        DrawAt(painter, 28 + 69 * i, 644, i == 2 ? kToggleLatchOn : kToggleKeyOff);
    }
    DrawAt(painter, 167, 602, kFunctionIndicatorIcon);

    const int knobYs[] = {65, 235, 405, 574};
    const char* names[] = {"Clip", "Gain",       "Opacity", "Softness",
                           "Hue",  "Saturation", "Luma",    "Border"};
    for (int row = 0; row < 4; ++row) {
        for (const int column : {0, 1}) {
            const int knobX = column == 0 ? 384 : 1232;
            DrawAt(painter, knobX, knobYs[row], kKnobTrack);
            // Thumb at rest, its key colour dropped as the knob does.
            QImage thumb = LoadResourceImage(kKnobThumb).convertToFormat(QImage::Format_ARGB32);
            const QRgb key = thumb.pixel(0, 0);
            for (int ty = 0; ty < thumb.height(); ++ty) {
                for (int tx = 0; tx < thumb.width(); ++tx) {
                    if (thumb.pixel(tx, ty) == key) {
                        thumb.setPixel(tx, ty, 0);
                    }
                }
            }
            painter.drawImage(knobX, knobYs[row] + 43 - 5, thumb);
            const int index = row + 4 * column;
            DrawSampleDisplay(painter, column == 0 ? 425 : 1077, knobYs[row],
                              QString::fromLatin1(names[index]), 20 + 9 * index);
        }
    }

    DrawAt(painter, 725, 65, kBadgeModel80);
    QFont title(QStringLiteral("Trebuchet MS"));
    title.setPixelSize(21);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(QColor(145, 192, 74));
    painter.drawText(QRect(600, 99, 450, 30), Qt::AlignHCenter | Qt::AlignTop,
                     QStringLiteral("Primary Keyer"));

    const QPoint menuPlaces[] = {{667, 179}, {787, 179}, {907, 179}, {607, 228}, {727, 228},
                                 {847, 228}, {967, 228}, {667, 277}, {787, 277}, {907, 277}};
    const char* menuCaptions[] = {"Key",    "Matte", "Border", "Shadow", "Input",
                                  "Output", "Mask",  "Files",  "GPI",    "Setup"};
    for (int i = 0; i < 10; ++i) {
        DrawAt(painter, menuPlaces[i].x(), menuPlaces[i].y(), kMenuButton);
        DrawCaption(painter, QRect(menuPlaces[i], QSize(74, 33)),
                    QString::fromLatin1(menuCaptions[i]), false);
    }
    const char* functionCaptions[] = {"Return",           "Key\nOn", "Invert",
                                      "Insert\nKeyframe", "Run",     " "};
    for (int i = 0; i < 6; ++i) {
        const QRect box(592 + 78 * i, 370, 76, 35);
        DrawAt(painter, box.x(), box.y(), i == 1 ? kFunctionButtonLit : kFunctionButtonUnlit);
        const QString caption = QString::fromLatin1(functionCaptions[i]);
        DrawCaption(painter, box, caption, caption.contains(QLatin1Char('\n')));
    }

    DrawAt(painter, 596, 463, kInfoLine);
    QFont readout(QStringLiteral("Trebuchet MS"));
    readout.setPixelSize(13);
    painter.setFont(readout);
    painter.setPen(QColor(210, 210, 210));
    painter.drawText(
        QRect(596 + 50, 463 + 10, 355, 15), Qt::AlignRight,
        QStringLiteral("Screen Color:  R = 50%   G = 25%   B = 75%   M = 100%   Ref:"));
    painter.setBrush(QColor(0, 255, 0));
    painter.setPen(Qt::black);
    painter.drawRoundedRect(QRect(596 + 410, 463 + 12, 20, 15), 2.5, 2.5);
    painter.setPen(QColor(210, 210, 210));
    painter.drawText(QRect(596 + 50, 463 + 35, 380, 15), Qt::AlignLeft,
                     QStringLiteral("                  FG: Input 1          Matte 1: Black"));
    painter.drawText(QRect(596 + 50, 463 + 50, 380, 15), Qt::AlignLeft,
                     QStringLiteral("                  BG: Input 2          Matte 2: White"));

    const int lamps[] = {kOnLineLampUnit1, kOnLineLampUnit2, kOnLineLampUnit3, kOnLineLampUnit4};
    DrawAt(painter, 652, 578, lamps[0]);
    DrawAt(painter, 672, 578, lamps[1]);
    DrawAt(painter, 801, 578, lamps[1]);
    painter.setPen(Qt::black);
    painter.setBrush(QColor(127, 63, 191));
    painter.drawRoundedRect(QRect(900, 578, 46, 16), 2.5, 2.5);
    painter.setBrush(Qt::black);
    painter.drawRoundedRect(QRect(1010, 578, 36, 16), 2.5, 2.5);
    painter.setPen(QColor(210, 210, 210));
    painter.drawText(QRect(706, 627, 200, 15), Qt::AlignLeft,
                     QStringLiteral("NTSC  1080i  Ref: Input 1"));
    return panel;
}

TEST(ArtSheet, WritesEveryPictureForReview) {
    ASSERT_TRUE(QDir().mkpath(SheetFolder()));
    for (const ArtEntry& entry : ArtCatalog()) {
        for (const int ratio : {1, 2}) {
            const QImage image = RenderArt(entry, ratio);
            ASSERT_FALSE(image.isNull()) << entry.resourceId;
            const QString name =
                SheetPath(QStringLiteral("%1@%2x.png").arg(entry.resourceId).arg(ratio));
            EXPECT_TRUE(image.save(name)) << name.toStdString();
        }
    }
}

TEST(ArtSheet, WritesContactSheetOfSmallPictures) {
    constexpr int kScale = 3;
    constexpr int kSheetWidth = 1900;
    constexpr int kSpacing = 24;
    constexpr int kCaptionWidth = 40;
    QImage sheet(kSheetWidth, 1600, QImage::Format_RGB32);
    sheet.fill(QColor(60, 64, 70));
    QPainter painter(&sheet);
    painter.setPen(Qt::white);
    int x = kSpacing;
    int y = kSpacing;
    int rowHeight = 0;
    for (const ArtEntry& entry : ArtCatalog()) {
        if (entry.logicalSize.width() > 200 || entry.logicalSize.height() > 100) {
            continue;
        }
        QImage image = RenderArt(entry, kScale);
        image.setDevicePixelRatio(1.0);
        if (x + kCaptionWidth + image.width() > kSheetWidth) {
            x = kSpacing;
            y += rowHeight + kSpacing;
            rowHeight = 0;
        }
        painter.drawText(x, y + 12, QString::number(entry.resourceId));
        painter.drawImage(x + kCaptionWidth, y, image);
        x += kCaptionWidth + image.width() + kSpacing;
        rowHeight = std::max(rowHeight, image.height());
    }
    painter.end();
    EXPECT_TRUE(sheet.copy(0, 0, kSheetWidth, y + rowHeight + kSpacing)
                    .save(SheetPath(QStringLiteral("contact-sheet.png"))));
}

TEST(ArtSheet, WritesPanelWithEveryControlInPlace) {
    const QImage panel = ComposePanel();
    ASSERT_EQ(panel.size(), QSize(1280, 760));
    EXPECT_TRUE(panel.save(SheetPath(QStringLiteral("panel-preview.png"))));
}

}  // namespace
