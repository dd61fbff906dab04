#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include "controls/CBitmapSlider.h"
#include "controls/CCanvasCtrl.h"
#include "controls/CSettingsBar.h"
#include "tests/controls/ControlsTestSupport.h"
#include "tests/support/LinkFixture.h"

// The controls' commands on the real link, against a scripted unit 1.

namespace {

class OverTheLinkTest : public LinkFixture {
  protected:
    void SetUp() override {
        LinkFixture::SetUp();
        g_currentUnitAddress = 0x10;
        panel.resize(300, 200);
        knob.InitKnob(10, 10);
        display.InitDisplay(50, 10);
        knob.SetDisplay(&display);
        knob.SetHost(&host);
        g_paramTable[0x17] = MakeParam("Gain", 0, 0, 1000, 0, 100, 275);
        g_paramTable[0x17].number = 0x17;
        display.Bind(&g_paramTable[0x17]);
        panel.show();
    }

    void PressAt(int y) {
        const QPointF local(17, y);
        QMouseEvent press(QEvent::MouseButtonPress, local, knob.mapToGlobal(local), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&knob, &press);
    }

    QWidget panel;
    CBitmapSlider knob{1117, &panel};
    CCanvasCtrl display{&panel};
    FakePanel host;
};

TEST_F(OverTheLinkTest, KnobTickSendsTheAdjustmentAndTakesTheUnitsValue) {
    peer.AnswerPacket(0x10, 0x04, {0x17, 0x01, 0x2C});
    PressAt(5);  // full deflection up: +25
    knob.OnRepeatTimer();
    ASSERT_EQ(peer.Requests().size(), 1u);
    EXPECT_EQ(peer.Requests()[0], (std::vector<uint8_t>{0x12, 0x04, 0x81, 0x17, 0x00, 0x19, 0xB5}));
    EXPECT_EQ(g_paramTable[0x17].value, 300);
    EXPECT_EQ(host.binds, 1);
}

TEST_F(OverTheLinkTest, NegativeDeltasGoOutAsSixteenBits) {
    peer.AnswerPacket(0x10, 0x04, {});
    PressAt(81);  // full deflection down: -25
    knob.OnRepeatTimer();
    ASSERT_EQ(peer.Requests().size(), 1u);
    EXPECT_EQ(peer.Requests()[0], (std::vector<uint8_t>{0x12, 0x04, 0x81, 0x17, 0xFF, 0xE7, 0x82}));
    EXPECT_EQ(g_paramTable[0x17].value, 275);
}

TEST_F(OverTheLinkTest, SilentUnitLeavesTheValueAlone) {
    peer.Silence();
    PressAt(5);
    knob.OnRepeatTimer();
    EXPECT_EQ(g_paramTable[0x17].value, 275);
    EXPECT_EQ(host.binds, 1);
}

TEST_F(OverTheLinkTest, SettingsBarReadsTheUnitsText) {
    CSettingsBar bar(&panel);
    peer.AnswerPacket(0x10, 0x00, {0x01, 0x02, 'K', 'e', 'y', 0x00});
    bar.RefreshSettings();
    EXPECT_EQ(peer.Requests().at(0), (std::vector<uint8_t>{0x12, 0x01, 0xB6, 0xB7}));
    EXPECT_EQ(bar.SettingsText(), "Key");
    peer.AnswerPacket(0x10, 0x01, {0x01, 0x02, 'X', 0x00});
    bar.RefreshSettings();
    EXPECT_EQ(bar.SettingsText(), "Key");
}

}  // namespace
