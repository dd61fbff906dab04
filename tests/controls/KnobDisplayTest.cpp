#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include "controls/CCanvasCtrl.h"
#include "tests/controls/ControlsTestSupport.h"

namespace {

class KnobDisplayTest : public ControlsTest {
  protected:
    void SetUp() override {
        ControlsTest::SetUp();
        panel.resize(300, 200);
        display.InitDisplay(10, 20);
        panel.show();
    }

    QWidget panel;
    CCanvasCtrl display{&panel};
};

// Counts the pictures a widget paints.
class PaintCounter : public QObject {
  public:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int paints = 0;
};

TEST_F(KnobDisplayTest, BindingWhatItShowsRepaintsNothingAndAChangedValueRepaints) {
    ParamRecord gain = MakeParam("Gain", 0, 0, 100, 0, 100, 10);
    display.Bind(&gain);
    QApplication::processEvents();
    PaintCounter counter;
    display.installEventFilter(&counter);
    display.Bind(&gain);
    display.Bind(&gain);
    EXPECT_EQ(counter.paints, 0);
    gain.value = 11;
    display.Bind(&gain);
    EXPECT_EQ(counter.paints, 1);
    const QImage shown = Grab(display);
    gain.value = 10;
    display.Bind(&gain);
    EXPECT_NE(Grab(display), shown);
}

TEST_F(KnobDisplayTest, PlacementAndBoxes) {
    EXPECT_EQ(display.geometry(), QRect(10, 20, 148, 91));
    EXPECT_EQ(display.ValueBoxRect(), QRect(QPoint(49, 60), QPoint(98, 79)));
    EXPECT_FALSE(display.isVisible()) << "hidden until bound";
}

TEST_F(KnobDisplayTest, NamelessRecordHidesAndKeepsTheLastBinding) {
    ParamRecord gain = MakeParam("Gain", 0, 0, 100, 0, 100, 10);
    display.Bind(&gain);
    EXPECT_TRUE(display.IsActive());
    EXPECT_TRUE(display.isVisible());

    ParamRecord empty;
    display.Bind(&empty);
    EXPECT_FALSE(display.IsActive());
    EXPECT_FALSE(display.isVisible());
    EXPECT_EQ(display.Param(), &gain);

    display.Bind(nullptr);
    EXPECT_FALSE(display.IsActive());
}

TEST_F(KnobDisplayTest, DoubleClickReachesThePanel) {
    int clicks = 0;
    QObject::connect(&display, &CCanvas::DoubleClicked, [&] { ++clicks; });
    const QPointF local(70, 40);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, local, display.mapToGlobal(local),
                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&display, &doubleClick);
    EXPECT_EQ(clicks, 1);
}

TEST_F(KnobDisplayTest, InactivePictureIsThePlainFace) {
    ParamRecord empty;
    display.Bind(&empty);
    const QImage picture = display.Buffer().toImage();
    EXPECT_EQ(picture.pixelColor(70, 45), CCanvasCtrl::kFaceColour);
    EXPECT_EQ(picture.pixelColor(0, 45), QColor(Qt::black)) << "outlined";
}

TEST_F(KnobDisplayTest, GaugePictureShowsBarAndReferenceMark) {
    ParamRecord gain = MakeParam("Gain", 0, 0, 100, 0, 100, 50);
    gain.referenceValue = 25;
    display.Bind(&gain);
    const QImage picture = display.Buffer().toImage();
    EXPECT_EQ(picture.pixelColor(30, 45), CCanvasCtrl::kBarColour);
    EXPECT_EQ(picture.pixelColor(73, 45), QColor(Qt::black)) << "the bar's outline";
    EXPECT_EQ(picture.pixelColor(100, 45), CCanvasCtrl::kFaceColour);
    // The mark: trunc(25 * 148 / 100) - 1 = 36, rows 82 to 89.
    EXPECT_EQ(picture.pixelColor(36, 85), QColor(Qt::white));
    EXPECT_EQ(picture.pixelColor(36, 75), CCanvasCtrl::kBarColour);

    gain.referenceValue = 150;  // outside the raw range: no mark, not even at the end
    display.Redraw();
    EXPECT_EQ(display.Buffer().toImage().pixelColor(147, 85), QColor(Qt::black)) << "outline";

    gain.flags = kFlagDisplayPlain;
    display.Redraw();
    const QImage plain = display.Buffer().toImage();
    EXPECT_EQ(plain.pixelColor(30, 45), CCanvasCtrl::kFaceColour);
    EXPECT_EQ(plain.pixelColor(36, 85), CCanvasCtrl::kFaceColour);
}

}  // namespace
