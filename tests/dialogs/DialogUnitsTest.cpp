#include <gtest/gtest.h>

#include <QDialog>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "dialogs/DialogUnits.h"

// The classic 8 pt dialog font measures 6 x 13; a template's OK button at (129, 7, 50, 14)
// lands at (194, 11, 75, 23) pixels, rounded like the system rounded it.
TEST(DialogUnits, TurnsTemplateUnitsIntoPixelsRounded) {
    const DialogUnits units(6, 13);
    EXPECT_EQ(units.Rect(QRect(129, 7, 50, 14)), QRect(194, 11, 75, 23));
    EXPECT_EQ(units.X(1), 2);  // 1.5 rounds up
    EXPECT_EQ(units.Y(-3), -5);
    EXPECT_EQ(units.Size(QSize(186, 95)), QSize(279, 154));
}

TEST(DialogUnits, StandardUnitsComeFromTheDialogFont) {
    const QFontMetrics metrics(DialogFont());
    const DialogUnits& standard = DialogUnits::Standard();
    EXPECT_EQ(standard.BaseHeight(), metrics.height());
    EXPECT_GT(standard.BaseWidth(), 3);
    EXPECT_LT(standard.BaseWidth(), metrics.height());
}

// Controls placed by the form move once; a layout's widgets and Qt's own inner widgets stay
// where their owner puts them.
TEST(DialogUnits, LaysOutOnlyTheControlsTheFormPlaced) {
    QDialog dialog;
    dialog.resize(100, 40);
    auto* okButton = new QPushButton(&dialog);
    okButton->setObjectName("okButton");
    okButton->setGeometry(10, 20, 40, 14);
    auto* inner = new QLabel(&dialog);
    inner->setObjectName("qt_inner");
    inner->setGeometry(1, 2, 3, 4);
    auto* row = new QWidget(&dialog);
    row->setObjectName("buttonRow");
    row->setGeometry(0, 0, 40, 8);
    auto* laidOut = new QLabel(QStringLiteral("x"), row);
    laidOut->setObjectName("rowLabel");
    (new QHBoxLayout(row))->addWidget(laidOut);
    const QRect laidOutBefore = laidOut->geometry();

    LayOutInDialogUnits(&dialog, DialogUnits(8, 16));

    EXPECT_EQ(okButton->geometry(), QRect(20, 40, 80, 28));
    EXPECT_EQ(row->geometry(), QRect(0, 0, 80, 16));
    EXPECT_EQ(inner->geometry(), QRect(1, 2, 3, 4));
    EXPECT_EQ(laidOut->geometry(), laidOutBefore);
    EXPECT_EQ(dialog.minimumSize(), QSize(200, 80));
    EXPECT_EQ(dialog.maximumSize(), QSize(200, 80));
    EXPECT_EQ(dialog.font(), DialogFont());
}
