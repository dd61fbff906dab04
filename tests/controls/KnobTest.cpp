#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>

#include "controls/CBitmapSlider.h"
#include "controls/CCanvasCtrl.h"
#include "tests/controls/ControlsTestSupport.h"

namespace {

constexpr int kKnobId = 1117;
constexpr int kKnob = 2;

class KnobTest : public ControlsTest {
  protected:
    void SetUp() override {
        ControlsTest::SetUp();
        panel.resize(400, 300);
        knob.InitKnob(20, 10);
        display.InitDisplay(60, 10);
        knob.SetDisplay(&display);
        knob.SetHost(&host, kKnob);
        param = MakeParam("Gain", 0, 0, 1000, 0, 100, 500);
        param.number = 0x17;
        panel.show();
    }

    void Mouse(QEvent::Type type, int y) {
        const QPointF local(17, y);
        QMouseEvent event(type, local, knob.mapToGlobal(local), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&knob, &event);
    }

    QWidget panel;
    CBitmapSlider knob{kKnobId, &panel};
    CCanvasCtrl display{&panel};
    FakePanel host;
    ParamRecord param;
};

TEST_F(KnobTest, SetUpTakesThePicturesAndRests) {
    EXPECT_EQ(knob.size(), QSize(34, 87));
    EXPECT_EQ(knob.pos(), QPoint(20, 10));
    EXPECT_EQ(knob.Position(), 5);
    EXPECT_EQ(knob.Geometry().RowOfPosition(5), 43);
}

TEST_F(KnobTest, PressOnTheThumbKeepsTheGrip) {
    QSignalSpy moved(&knob, &CBitmapSlider::KnobMoved);
    Mouse(QEvent::MouseButtonPress, 47);  // 4 rows below the thumb's centre
    EXPECT_EQ(knob.DragOffset(), 4);
    EXPECT_EQ(knob.Position(), 5);
    Mouse(QEvent::MouseMove, 48);  // the thumb follows one row: still position 5
    EXPECT_EQ(knob.Position(), 5);
    Mouse(QEvent::MouseMove, 4 + 66);  // thumb centre on row 66
    EXPECT_EQ(knob.Position(), 8);
    QCoreApplication::processEvents();
    ASSERT_FALSE(moved.isEmpty());
    EXPECT_EQ(moved.last().at(1).toInt(), 8);
}

TEST_F(KnobTest, PressOnTheTrackMakesTheThumbJump) {
    QSignalSpy moved(&knob, &CBitmapSlider::KnobMoved);
    Mouse(QEvent::MouseButtonPress, 73);
    EXPECT_EQ(knob.DragOffset(), 0);
    EXPECT_EQ(knob.Position(), 8);
    EXPECT_TRUE(moved.isEmpty()) << "the notification is posted, not sent";
    QCoreApplication::processEvents();
    ASSERT_EQ(moved.size(), 1);
    EXPECT_EQ(moved.at(0).at(0).toInt(), kKnobId);
    EXPECT_EQ(moved.at(0).at(1).toInt(), 8);
}

TEST_F(KnobTest, DraggingPastTheEndsClampsTheRange) {
    Mouse(QEvent::MouseButtonPress, 45);
    Mouse(QEvent::MouseMove, -300);
    EXPECT_EQ(knob.Position(), 0);
    Mouse(QEvent::MouseMove, 900);
    EXPECT_EQ(knob.Position(), 10);
}

TEST_F(KnobTest, HoldStopsPollingAndReleaseSpringsBack) {
    QSignalSpy released(&knob, &CBitmapSlider::KnobReleased);
    const QImage atRest = Grab(knob);
    Mouse(QEvent::MouseButtonPress, 20);
    EXPECT_NE(Grab(knob), atRest) << "the thumb is shown where it went";
    EXPECT_TRUE(knob.IsHeld());
    EXPECT_TRUE(knob.IsRepeating());
    EXPECT_FALSE(host.polling);
    EXPECT_EQ(panel.focusWidget(), &knob);

    Mouse(QEvent::MouseButtonRelease, 20);
    EXPECT_FALSE(knob.IsHeld());
    EXPECT_FALSE(knob.IsRepeating());
    EXPECT_EQ(knob.Position(), 5);
    EXPECT_TRUE(host.polling);
    EXPECT_EQ(host.stops, 1);
    EXPECT_EQ(host.resumes, 1);
    EXPECT_EQ(Grab(knob), atRest);
    QCoreApplication::processEvents();
    ASSERT_EQ(released.size(), 1);
    EXPECT_EQ(released.at(0).at(1).toInt(), 5);
}

TEST_F(KnobTest, LosingTheFocusWhileHeldEndsTheHold) {
    QSignalSpy released(&knob, &CBitmapSlider::KnobReleased);
    Mouse(QEvent::MouseButtonPress, 5);
    QFocusEvent focusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(&knob, &focusOut);
    EXPECT_FALSE(knob.IsHeld());
    EXPECT_FALSE(knob.IsRepeating());
    EXPECT_EQ(knob.Position(), 5);
    EXPECT_TRUE(host.polling);
    QCoreApplication::processEvents();
    EXPECT_EQ(released.size(), 1);
    Mouse(QEvent::MouseButtonRelease, 5);  // the late release changes nothing more
    EXPECT_EQ(host.resumes, 1);
}

TEST_F(KnobTest, MovesWithoutTheButtonDoNothing) {
    Mouse(QEvent::MouseMove, 80);
    EXPECT_EQ(knob.Position(), 5);
}

TEST_F(KnobTest, TicksHandTheDeflectionToThePanelAndNothingAtRest) {
    knob.OnRepeatTimer();
    Mouse(QEvent::MouseButtonPress, 45);  // on the thumb at rest
    knob.OnRepeatTimer();
    EXPECT_TRUE(host.ticks.empty());

    Mouse(QEvent::MouseMove, 73);  // position 8: three below the centre
    knob.OnRepeatTimer();
    Mouse(QEvent::MouseMove, 5);  // position 0: full deflection up
    knob.OnRepeatTimer();
    using Tick = std::pair<int, int>;
    EXPECT_EQ(host.ticks, (std::vector<Tick>{{kKnob, -3}, {kKnob, 5}}));
}

TEST_F(KnobTest, FocusedKnobTurnsWithItsKeysAsADragAndPassesTheRest) {
    const auto press = [this](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        event.ignore();
        QApplication::sendEvent(&knob, &event);
        return event.isAccepted();
    };
    display.Bind(&param);
    knob.setFocus();
    // Enter, Escape and the panel's own keys go on to the panel.
    EXPECT_FALSE(press(Qt::Key_Return));
    EXPECT_FALSE(press(Qt::Key_Escape));
    EXPECT_FALSE(press(Qt::Key_1, Qt::ControlModifier));
    EXPECT_FALSE(press(Qt::Key_Up, Qt::ShiftModifier));
    EXPECT_TRUE(host.keyTurns.empty());

    // One step as the slowest deflection, a large one as the fullest, the ends by the
    // distance to them; each re-binds the displays as a tick does.
    EXPECT_TRUE(press(Qt::Key_Up));
    EXPECT_TRUE(press(Qt::Key_PageDown));
    EXPECT_TRUE(press(Qt::Key_End));
    EXPECT_TRUE(press(Qt::Key_Home));
    using Turn = std::pair<int, int>;
    EXPECT_EQ(host.keyTurns,
              (std::vector<Turn>{{kKnob, 1}, {kKnob, -25}, {kKnob, 500}, {kKnob, -500}}));

    // Without a range Home and End turn nothing.
    param.rawMax = 0;
    param.value = 0;
    press(Qt::Key_End);
    press(Qt::Key_Home);
    EXPECT_EQ(host.keyTurns.size(), 4u);
}

}  // namespace
