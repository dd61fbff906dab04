// The panel zoomed: the same skin at every size, the pointer read in skin coordinates, the
// zoom keys and menu, the choice kept, and the window fitting the screens people have.
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QTest>

#include "controls/CBitmapSlider.h"
#include "controls/CCanvasCtrl.h"
#include "controls/CImageTextButton.h"
#include "controls/SkinZoom.h"
#include "panel/PanelSelfTest.h"
#include "tests/panel/PanelStoryTest.h"
#include "tests/support/TestPaths.h"

namespace {

class ZoomTest : public PanelStoryTest {
  protected:
    // One repeat tick of knob 1 held one position above its rest: the requests it sent.
    std::vector<uint8_t> OneTickOfKnobOne() {
        CBitmapSlider* knob = panel->Knob(0);
        const KnobGeometry& geometry = knob->Geometry();
        const int rest = geometry.RowOfPosition(CBitmapSlider::kRestPosition);
        const int held = (geometry.RowOfPosition(CBitmapSlider::kRestPosition - 1) + rest) / 2;
        SendLeftMouse(knob, QEvent::MouseButtonPress, rest);
        SendLeftMouse(knob, QEvent::MouseMove, held);
        knob->OnRepeatTimer();
        SendLeftMouse(knob, QEvent::MouseButtonRelease, held);
        return line.TakeWritten();
    }
};

TEST_F(ZoomTest, AZoomedPanelIsTheSameSkinToThePointer) {
    Select(1);
    const std::vector<uint8_t> atFull = OneTickOfKnobOne();
    ASSERT_FALSE(atFull.empty());

    panel->SetZoom(1.5);
    EXPECT_EQ(panel->size(), QSize(1920, 1140));
    EXPECT_EQ(panel->Knob(0)->geometry(), ScaledRect(SkinGeometry(panel->Knob(0)), 1.5));
    EXPECT_EQ(OneTickOfKnobOne(), atFull);

    // A click where menu button 4 lies on the zoomed panel presses that button.
    const QRect skinPlace = SkinGeometry(panel->MenuButton(3));
    const QPoint onScreen = ScaledRect(skinPlace, 1.5).center();
    QWidget* hit = panel->childAt(onScreen);
    ASSERT_EQ(hit, panel->MenuButton(3));
    const int before = Menu();
    QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(panel.get(), onScreen));
    EXPECT_NE(Menu(), before);

    // Every step draws the whole skin, crisp at the zoom: twice the pixels at 200 %.
    panel->SetZoom(3.0);
    EXPECT_EQ(ZoomOf(panel.get()), kLargestZoom);
    const QImage large = panel->grab().toImage();
    EXPECT_EQ(large.size(), QSize(2560, 1520) * large.devicePixelRatio());
    const QString folder = QString::fromStdString(ScreenshotFolder());
    QDir().mkpath(folder);
    EXPECT_TRUE(large.save(folder + "/panel-200.png"));
    panel->SetZoom(0.5);
    EXPECT_TRUE(panel->grab().save(folder + "/panel-50.png"));
}

TEST_F(ZoomTest, KeysAndTheMenuChooseAZoomThatIsKept) {
    QTest::keyClick(panel.get(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(ZoomOf(panel.get()), 1.1);
    QTest::keyClick(panel.get(), Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(panel.get(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(ZoomOf(panel.get()), 0.9);
    ASSERT_TRUE(ReadZoomSetting());
    EXPECT_DOUBLE_EQ(ReadZoomSetting()->zoom, 0.9);
    QTest::keyClick(panel.get(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(ZoomOf(panel.get()), 1.0);
    EXPECT_EQ(NextZoomStep(2.0, +1), 2.0);
    EXPECT_EQ(NextZoomStep(0.5, -1), 0.5);

    // The menu offers every step and names the keys; an entry chosen is kept.
    QMenu menu;
    panel->BuildContextMenu(menu);
    QMenu* zoom = menu.findChild<QMenu*>("zoomMenu");
    ASSERT_NE(zoom, nullptr);
    QStringList texts;
    for (QAction* action : zoom->actions()) {
        texts << action->text() + "|" + action->shortcut().toString();
    }
    EXPECT_TRUE(texts.contains("150 %|"));
    EXPECT_TRUE(texts.contains("&Fit to screen|Ctrl+F"));
    EXPECT_TRUE(texts.contains("Zoom &in|Ctrl++"));
    for (QAction* action : zoom->actions()) {
        if (action->text() == "150 %") {
            action->trigger();
        }
    }
    EXPECT_DOUBLE_EQ(ZoomOf(panel.get()), 1.5);
    EXPECT_DOUBLE_EQ(ReadZoomSetting()->zoom, 1.5);
    EXPECT_FALSE(ReadZoomSetting()->fitToScreen);
}

TEST_F(ZoomTest, TheWindowFitsALaptopAtOneAndAHalfAndASmallScreen) {
    // The free area of a 1920 x 1080 screen at 150 % and of a 1366 x 768 one at 100 %, each
    // with a 48-pixel task bar.
    for (const QSize available : {QSize(1280, 720 - 32), QSize(1366, 768 - 48)}) {
        const double zoom = ZoomToFit(QSize(1280, 760), kFrameAllowance, available);
        const QSize window = ScaledRect(QRect(0, 0, 1280, 760), zoom).size() + kFrameAllowance;
        EXPECT_LE(window.width(), available.width());
        EXPECT_LE(window.height(), available.height());
        EXPECT_GT(zoom, 0.8);
    }
    EXPECT_EQ(ZoomToFit(QSize(1280, 760), kFrameAllowance, QSize(100, 100)), kSmallestZoom);
    EXPECT_EQ(ZoomToFit(QSize(1280, 760), kFrameAllowance, QSize(8000, 8000)), kLargestZoom);
}

}  // namespace
