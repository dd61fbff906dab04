// The panel as the user sees it with a unit selected, saved for a person to look at, and
// what assistive technology reads from it.
#include <QAccessible>
#include <QCoreApplication>
#include <QDir>

#include "controls/CBitmapSlider.h"
#include "controls/CCanvasCtrl.h"
#include "controls/CImageTextButton.h"
#include "controls/CImageToggleButton.h"
#include "model/KnobGauge.h"
#include "tests/panel/PanelFixture.h"
#include "tests/support/TestPaths.h"

namespace {

using PanelRenderTest = PanelFixture;

// The mean colour of a control's place on the panel picture.
QColor Mean(const QImage& picture, const QRect& place) {
    long red = 0;
    long green = 0;
    long blue = 0;
    for (int y = place.top(); y <= place.bottom(); ++y) {
        for (int x = place.left(); x <= place.right(); ++x) {
            const QColor colour = picture.pixelColor(x, y);
            red += colour.red();
            green += colour.green();
            blue += colour.blue();
        }
    }
    const long count = static_cast<long>(place.width()) * place.height();
    return QColor(int(red / count), int(green / count), int(blue / count));
}

bool Greenish(const QColor& colour) {
    return colour.green() > 70 && colour.green() > colour.red() + 25 &&
           colour.green() > colour.blue() + 25;
}

TEST_F(PanelRenderTest, ASelectedUnitShowsOnAFinishedPanel) {
    SelectUnit(1);
    panel->show();
    QCoreApplication::processEvents();
    const QImage picture = panel->grab().toImage();
    ASSERT_EQ(picture.size(), QSize(1280, 760) * picture.devicePixelRatio());
    const QString folder = QString::fromStdString(ScreenshotFolder());
    QDir().mkpath(folder);
    EXPECT_TRUE(picture.save(folder + "/panel.png"));

    // Units 1 and 3 lit in the on-line row, unit 1 as selected; unit 2 dark.
    const QRect onLine1(652, 578, 15, 15);
    const QRect onLine2(672, 578, 15, 15);
    const QRect onLine3(692, 578, 15, 15);
    const QRect selected(801, 578, 15, 15);
    EXPECT_TRUE(Greenish(Mean(picture, onLine1)));
    EXPECT_FALSE(Greenish(Mean(picture, onLine2)));
    EXPECT_TRUE(Greenish(Mean(picture, onLine3)));
    EXPECT_TRUE(Greenish(Mean(picture, selected)));
    EXPECT_TRUE(Greenish(Mean(picture, QRect(97, 164, 32, 32))));  // UNIT 1 key lit

    // The first knob and its display are read by their parameter and its value.
    const ParamRecord* param = panel->KnobDisplay(0)->Param();
    QAccessibleInterface* display = QAccessible::queryAccessibleInterface(panel->KnobDisplay(0));
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(display->text(QAccessible::Name).toStdString(), param->name);
    EXPECT_EQ(display->text(QAccessible::Value).toStdString(),
              ComputeGauge(*param, 0, CCanvas::kWidth).valueText);
    QAccessibleInterface* knob = QAccessible::queryAccessibleInterface(panel->Knob(0));
    EXPECT_EQ(knob->text(QAccessible::Name).toStdString(), "Knob 1: " + param->name);
    QAccessibleInterface* unitKey = QAccessible::queryAccessibleInterface(panel->Toggle(0));
    EXPECT_EQ(unitKey->text(QAccessible::Name), "UNIT 1");
    EXPECT_TRUE(unitKey->state().checked);
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(panel->MenuButton(1));
    EXPECT_FALSE(button->text(QAccessible::Name).isEmpty());
}

}  // namespace
