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
    RecordingCommands commands;
};

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
    EXPECT_EQ(display.Adjust(9), 1);
    EXPECT_TRUE(commands.adjustments.empty());

    display.Bind(nullptr);
    EXPECT_FALSE(display.IsActive());
}

TEST_F(KnobDisplayTest, OrdinaryParametersSendTheDeltaWithTheNumbersLowByte) {
    ParamRecord gain = MakeParam("Gain", 0, 0, 100, 0, 100, 10);
    gain.number = 0x142;
    display.Bind(&gain);
    EXPECT_EQ(display.Adjust(-16), 1);
    ASSERT_EQ(commands.adjustments.size(), 1u);
    EXPECT_EQ(commands.adjustments[0].first, 0x42);
    EXPECT_EQ(commands.adjustments[0].second, -16);
    EXPECT_EQ(gain.value, 10) << "the unit's answer changes the value, not the display";
}

TEST_F(KnobDisplayTest, CoarseParametersSendSingleSteps) {
    ParamRecord coarse = MakeParam("Source", kFlagCoarse, 0, 8, 0, 8, 2);
    coarse.number = 12;
    display.Bind(&coarse);
    for (int tick = 1; tick <= 4; ++tick) {
        EXPECT_EQ(display.Adjust(16), 0);
    }
    EXPECT_TRUE(commands.adjustments.empty());
    EXPECT_EQ(display.Adjust(16), 1);
    ASSERT_EQ(commands.adjustments.size(), 1u);
    EXPECT_EQ(commands.adjustments[0].second, 1);
    EXPECT_EQ(display.StepAccumulator(), 0);

    display.Adjust(-25);
    display.Adjust(-25);
    display.Adjust(-25);
    EXPECT_EQ(commands.adjustments.back().second, -1);
}

TEST_F(KnobDisplayTest, TimecodesEditLocallyWithinTheirRange) {
    ParamRecord frameTime = MakeParam("Frame Time", kFlagTimecode, 0, 0, 0, 0, 20);
    display.Bind(&frameTime);
    EXPECT_EQ(display.Adjust(-25), 1);
    EXPECT_EQ(frameTime.value, 0);
    display.Adjust(25);
    EXPECT_EQ(frameTime.value, 25);
    frameTime.value = 32760;
    display.Adjust(25);
    EXPECT_EQ(frameTime.value, 32767) << "saturates instead of wrapping to zero";
    EXPECT_TRUE(commands.adjustments.empty());
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
