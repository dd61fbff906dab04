#include <gtest/gtest.h>

#include <QCoreApplication>
#include <array>

#include "controls/COnLineBar.h"
#include "controls/CSettingsBar.h"
#include "tests/controls/ControlsTestSupport.h"

namespace {

class ScriptedPolls : public PollResults {
  public:
    uint8_t AnsweringAddress(int unit) const override { return addresses.at(unit); }
    std::array<uint8_t, 5> addresses{};
};

class OnLineBarTest : public ControlsTest {
  protected:
    void SetUp() override {
        ControlsTest::SetUp();
        panel.resize(1280, 760);
        for (int i = 0; i < 4; ++i) {
            onLine[i] = new QWidget(&panel);
            selected[i] = new QWidget(&panel);
            onLine[i]->setGeometry(1, 1, 15, 15);
            selected[i]->setGeometry(1, 1, 15, 15);
        }
        bar.InitOnLineBar(&polls, onLine, selected);
        panel.show();
        QCoreApplication::processEvents();  // the window is on the screen
    }

    QWidget panel;
    COnLineBar bar{&panel};
    ScriptedPolls polls;
    std::array<QWidget*, 4> onLine{};
    std::array<QWidget*, 4> selected{};
};

TEST_F(OnLineBarTest, CoversTheStatusStrip) {
    EXPECT_EQ(bar.geometry(), QRect(596, 574, 451, 21));
    EXPECT_EQ(bar.OnLineRect(0), QRect(652, 578, 15, 15));
    EXPECT_EQ(bar.OnLineRect(3), QRect(712, 578, 15, 15));
    EXPECT_EQ(bar.SelectedRect(), QRect(801, 578, 15, 15));
    EXPECT_TRUE(bar.testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST_F(OnLineBarTest, NoUnitAnsweringHidesEveryLamp) {
    bar.PlaceLamps();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(onLine[i]->geometry(), bar.HiddenRect());
        EXPECT_EQ(selected[i]->geometry(), bar.HiddenRect());
    }
}

TEST_F(OnLineBarTest, AnsweringUnitsAndTheSelectedOneLightUp) {
    polls.addresses = {0, 0x10, 0, 0x30, 0};
    bar.SetSelectedUnit(3);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(onLine[i]->geometry(), bar.HiddenRect()) << "hidden until the paint";
    }
    bar.repaint();
    EXPECT_EQ(onLine[0]->geometry(), QRect(652, 578, 15, 15));
    EXPECT_EQ(onLine[1]->geometry(), bar.HiddenRect());
    EXPECT_EQ(onLine[2]->geometry(), QRect(692, 578, 15, 15));
    EXPECT_EQ(selected[2]->geometry(), QRect(801, 578, 15, 15));
    EXPECT_EQ(selected[0]->geometry(), bar.HiddenRect());
    EXPECT_EQ(selected[3]->geometry(), bar.HiddenRect());

    polls.addresses = {0, 0, 0, 0x30, 0x40};
    bar.repaint();
    EXPECT_EQ(onLine[0]->geometry(), bar.HiddenRect());
    EXPECT_EQ(onLine[3]->geometry(), QRect(712, 578, 15, 15));
}

TEST_F(OnLineBarTest, SwatchShowsTheScreenColour) {
    bar.SetSwatch(200, 40, 300);
    const QImage picture = Grab(bar);
    EXPECT_EQ(picture.pixelColor(327, 12), QColor(200, 40, 255));
    EXPECT_EQ(picture.pixelColor(432, 12), QColor(0, 0, 0));
    bar.SetSwatch(0, 90, 10);
    EXPECT_EQ(Grab(bar).pixelColor(327, 12), QColor(0, 90, 10)) << "a new colour shows at once";
}

class SettingsBarTest : public ControlsTest {
  protected:
    QWidget panel;
    CSettingsBar bar{&panel};
};

TEST_F(SettingsBarTest, ShowsTheTextItIsGivenAndRepaintsOnlyOnAChange) {
    bar.SetSettingsText("1080i 59.94  Key: Linear");
    EXPECT_EQ(bar.SettingsText(), "1080i 59.94  Key: Linear");
    const QImage shown = Grab(bar);
    bar.SetSettingsText("1080i 59.94  Key: Linear");
    bar.SetSettingsText("720p 50  Key: Clip");
    EXPECT_NE(Grab(bar), shown);
}

TEST_F(SettingsBarTest, EmptyTextLeavesOnlyTheGreyStrip) {
    bar.resize(310, 21);
    const QImage picture = GrabOwnPaint(bar);
    EXPECT_EQ(picture.pixelColor(115, 10), QColor(89, 89, 89));
    EXPECT_EQ(picture.pixelColor(150, 10), QColor(89, 89, 89));
    EXPECT_EQ(picture.pixelColor(50, 10).alpha(), 0) << "left of the strip stays the panel's";
}

}  // namespace
