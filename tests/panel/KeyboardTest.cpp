// The panel from the keyboard: the knob keys on a focused display, Enter, the panel's own
// keys, what the controls say their keys are, and the keys that never close the panel.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QKeySequence>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "controls/CBitmapSlider.h"
#include "controls/CCanvasCtrl.h"
#include "controls/CImageTextButton.h"
#include "controls/CImageToggleButton.h"
#include "tests/panel/PanelStoryTest.h"

namespace {

constexpr uint8_t kAdjust = 0x81;
constexpr uint8_t kSetParameter = 0xA8;

class KeyboardTest : public PanelStoryTest {
  protected:
    void Key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(widget, key, modifiers);
    }
    void KnobMouse(int knob, QEvent::Type type, int row) {
        const QPointF local(17, row);
        QMouseEvent event(type, local, local, Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(panel->Knob(knob), &event);
    }
    // Where Tab goes from `widget`: the next in the chain that takes the focus by Tab.
    static QWidget* TabFrom(QWidget* widget) {
        do {
            widget = widget->nextInFocusChain();
        } while ((widget->focusPolicy() & Qt::TabFocus) == 0);
        return widget;
    }
    QString Description(QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Description);
    }
};

TEST_F(KeyboardTest, KnobKeysOnADisplayTurnItsKnobAsADragDoes) {
    Select(1);
    CCanvasCtrl* clip = panel->KnobDisplay(0);
    ASSERT_EQ(clip->Param(), &g_paramTable[0]);
    const int start = Unit(1).Value(0);

    // One tick with the thumb one position above its rest, then the Up arrow.
    KnobMouse(0, QEvent::MouseButtonPress, 36);
    ASSERT_EQ(panel->Knob(0)->Position(), CBitmapSlider::kRestPosition - 1);
    panel->Knob(0)->OnRepeatTimer();
    KnobMouse(0, QEvent::MouseButtonRelease, 36);
    const std::vector<uint8_t> dragged = line.TakeWritten();
    Key(clip, Qt::Key_Up);
    EXPECT_EQ(line.TakeWritten(), dragged);
    EXPECT_EQ(Unit(1).Value(0), start + 2);

    Key(clip, Qt::Key_PageUp);
    EXPECT_TRUE(Contains(SentRequests(), {kAdjust, 0, 0, 25}));
    Key(clip, Qt::Key_End);
    EXPECT_EQ(Unit(1).Value(0), 1023);
    Key(clip, Qt::Key_Home);
    EXPECT_EQ(Unit(1).Value(0), 0);
    EXPECT_EQ(clip->Param()->value, 0);
    line.TakeWritten();

    // A coarse parameter's drag builds up to a step; its arrow key is one step at once.
    CCanvasCtrl* keySource = panel->KnobDisplay(4);
    ASSERT_TRUE(keySource->Param()->flags & kFlagCoarse);
    const int source = Unit(1).Value(keySource->Param()->number);
    Key(keySource, Qt::Key_Up);
    EXPECT_EQ(Unit(1).Value(keySource->Param()->number), source + 1);
    line.TakeWritten();

    // A stepped parameter steps on the panel alone, as its knob does.
    CCanvasCtrl* softness = panel->KnobDisplay(3);
    ASSERT_TRUE(softness->Param()->flags & kFlagStepped);
    Key(softness, Qt::Key_End);
    EXPECT_EQ(softness->Param()->value, softness->Param()->rawMax);
    EXPECT_TRUE(SentRequests().empty());
}

TEST_F(KeyboardTest, EnterOnADisplayIsItsDoubleClickAndTheLatchKeySetsTheLatch) {
    const int initial = Unit(1).Value(0);
    Unit(1).SetValue(0, initial + 40);
    Select(1);
    Key(panel->KnobDisplay(0), Qt::Key_Return);
    EXPECT_EQ(Unit(1).Value(0), initial);

    const std::vector<int>& asked = Record(kAttributeDialog);
    Key(panel->Knob(2), Qt::Key_A);  // the panel's key, whichever control is focused
    EXPECT_TRUE(panel->Console().AttributeLatchSet());
    Key(panel->KnobDisplay(1), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(asked, std::vector<int>{1});
    EXPECT_FALSE(panel->Console().AttributeLatchSet());
}

TEST_F(KeyboardTest, PanelKeysDoWhatAClickOnTheirControlDoes) {
    Select(1);
    // Function button 1 (Key Invert, 0..1): the click goes 0 to 1, F2 back to 0, and F2
    // again sends what the click sent.
    panel->FunctionButton(1)->click();
    const std::vector<uint8_t> clicked = line.TakeWritten();
    Key(panel.get(), Qt::Key_F2);
    EXPECT_NE(line.TakeWritten(), clicked);
    Key(panel.get(), Qt::Key_F2);
    EXPECT_EQ(line.TakeWritten(), clicked);

    Key(panel->FunctionButton(0), Qt::Key_2, Qt::KeypadModifier);  // menu button 1
    EXPECT_EQ(Menu(), 1);
    Key(panel.get(), Qt::Key_1);  // Return
    EXPECT_EQ(Menu(), 0);

    Key(panel.get(), Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_TRUE(Contains(SentRequests(), {kSetParameter, 216, 0}));

    Key(panel->KnobDisplay(0), Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(panel->SelectedUnit(), 2);
}

TEST_F(KeyboardTest, ControlsNameTheirKeysTabReadsThePanelAndNoKeyClosesIt) {
    EXPECT_TRUE(Description(panel->FunctionButton(0)).contains("F1"));
    EXPECT_TRUE(Description(panel->MenuButton(9)).contains("0"));
    EXPECT_TRUE(Description(panel->Toggle(0)).contains("Ctrl+1"));
    EXPECT_TRUE(Description(panel->Toggle(15)).contains("Shift+F1"));  // MEM 1
    EXPECT_TRUE(panel->Toggle(12)->toolTip().startsWith("ALT"));
    const QString pageUp = QKeySequence(Qt::Key_PageUp).toString(QKeySequence::NativeText);
    EXPECT_TRUE(Description(panel->KnobDisplay(0)).contains(pageUp));

    EXPECT_EQ(TabFrom(panel->FunctionButton(5)), panel->Knob(0));
    EXPECT_EQ(TabFrom(panel->Knob(0)), panel->KnobDisplay(0));
    EXPECT_EQ(TabFrom(panel->KnobDisplay(3)), panel->KnobDisplay(4));
    EXPECT_EQ(TabFrom(panel->KnobDisplay(4)), panel->Knob(4));

    QSignalSpy finished(panel.get(), &QDialog::finished);
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        Key(panel.get(), key);
        Key(panel->Knob(0), key);
        Key(panel->Toggle(1), key);
    }
    EXPECT_TRUE(finished.isEmpty());
}

}  // namespace
