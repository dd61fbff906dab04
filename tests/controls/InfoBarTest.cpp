#include <gtest/gtest.h>

#include <QCoreApplication>

#include "controls/CInfoBar.h"
#include "controls/InfoBarText.h"
#include "tests/controls/ControlsTestSupport.h"

namespace {

class FixedKeyframes : public KeyframeReadout {
  public:
    int CurrentKeyframe() const override { return 2; }
    int KeyframeCount() const override { return 5; }
};

class InfoBarTest : public ControlsTest {
  protected:
    void SetUp() override {
        ControlsTest::SetUp();
        panel.resize(1280, 760);
        bar.InitInfoBar(g_panelModel.m_currentMenu);
        bar.SetKeyframeReadout(&keyframes);
        panel.show();
        QCoreApplication::processEvents();
    }

    // Paints that are waiting, then how many the bar has had.
    int Paints() {
        QCoreApplication::processEvents();
        return bar.PaintCount();
    }

    QWidget panel;
    CInfoBar bar{&panel};
    FixedKeyframes keyframes;
};

TEST_F(InfoBarTest, SetUpPlacesTheLineAndShowsReadouts) {
    EXPECT_EQ(bar.geometry(), QRect(596, 463, 458, 82));
    EXPECT_TRUE(bar.ReferencePresent());
    EXPECT_TRUE(bar.ShowsReadouts());
    EXPECT_EQ(bar.Content(), InfoContent::Readouts);
}

TEST_F(InfoBarTest, SameMessageTwiceRepaintsOnce) {
    const int before = Paints();
    bar.SetMessage("Select an Online Main Unit!");
    EXPECT_EQ(bar.PaintCount(), before + 1) << "painted at once, without the event loop";
    bar.SetMessage("Select an Online Main Unit!");
    EXPECT_EQ(Paints(), before + 1);
}

TEST_F(InfoBarTest, AlertAndMessageReplaceEachOther) {
    bar.SetMessage("Loading");
    EXPECT_EQ(bar.Content(), InfoContent::Message);
    bar.SetAlert("Lost communication with Main Unit!");
    EXPECT_EQ(bar.Message(), "");
    EXPECT_EQ(bar.Content(), InfoContent::Alert);
    bar.SetMessage("Back");
    EXPECT_EQ(bar.Alert(), "");
    EXPECT_EQ(bar.Content(), InfoContent::Message);
    bar.SetMessage(g_idleText);
    EXPECT_EQ(bar.Content(), InfoContent::Readouts);
}

TEST_F(InfoBarTest, KeyframeMenuOfTheSelectedUnitShowsThePosition) {
    g_currentUnitAddress = 0x30;
    g_panelModel.m_currentMenu[3] = kKeyframeMenu;
    EXPECT_EQ(bar.Content(), InfoContent::Keyframe);
    EXPECT_EQ(KeyframeLine(2, 5), "Keyframe 2 of 5");
    g_currentUnitAddress = 0x20;
    EXPECT_EQ(bar.Content(), InfoContent::Readouts);
    g_currentUnitAddress = 0xF0;  // no such unit: never read outside the slots
    EXPECT_EQ(bar.Content(), InfoContent::Readouts);
}

TEST_F(InfoBarTest, ReferenceLampRepaintsOnlyOnAChange) {
    g_unitStatus[kStatusByteModel] = 11;
    int before = Paints();
    bar.SetReferenceFlags(0x40);
    EXPECT_EQ(Paints(), before);
    bar.SetReferenceFlags(0x00);
    EXPECT_FALSE(bar.ReferencePresent());
    EXPECT_EQ(Paints(), before + 1);
    EXPECT_EQ(Grab(bar).pixelColor(420, 20), QColor(255, 0, 0));
    before = Paints();
    bar.SetReferenceFlags(0x41);
    EXPECT_EQ(Paints(), before + 1);
    EXPECT_EQ(Grab(bar).pixelColor(420, 20), QColor(0, 255, 0));
}

TEST_F(InfoBarTest, TheLampAndThePanelShareTheModelsReferenceFlag) {
    g_unitStatus[kStatusByteModel] = 11;
    bar.SetReferenceFlags(0x02);
    EXPECT_FALSE(g_panelModel.m_referencePresent) << "what the panel's menus read";
    // Whoever follows the poll, the lamp shows the model's flag.
    EXPECT_TRUE(g_panelModel.FollowReferenceFlags(0x40));
    EXPECT_TRUE(bar.ReferencePresent());
    EXPECT_EQ(Grab(bar).pixelColor(420, 20), QColor(0, 255, 0));
    EXPECT_FALSE(g_panelModel.FollowReferenceFlags(0x41));
    g_panelModel.Reset();
    EXPECT_TRUE(g_panelModel.m_referencePresent) << "present until a poll says otherwise";
}

TEST(InfoBarText, PriorityOrder) {
    EXPECT_EQ(ChooseInfoContent("A", "M", 64, true), InfoContent::Alert);
    EXPECT_EQ(ChooseInfoContent("", "M", 64, true), InfoContent::Message);
    EXPECT_EQ(ChooseInfoContent("", "", 64, true), InfoContent::Keyframe);
    EXPECT_EQ(ChooseInfoContent("", "", 3, true), InfoContent::Readouts);
    EXPECT_EQ(ChooseInfoContent("", "", 3, false), InfoContent::Nothing);
}

class ReadoutTest : public ControlsTest {};

TEST_F(ReadoutTest, CompactModelsShowColourWithoutTheLamp) {
    const ReadoutLines lines = ComposeReadouts(4, ScreenColour{50, 25, 0, 100});
    EXPECT_EQ(lines.colourLine, "Screen Color:  R = 50%   G = 25%   B = 0%   M = 100%");
    EXPECT_FALSE(lines.referenceLamp);
    EXPECT_EQ(lines.routingLine1, "");
}

TEST_F(ReadoutTest, CompactModelsWithInputsShowTheInputParameters) {
    g_paramTable[93].value = 2;
    g_paramTable[94].value = 3;
    g_paramTable[95].value = 4;
    g_paramTable[96].value = 1;
    const ReadoutLines lines = ComposeReadouts(7, ScreenColour{});
    EXPECT_EQ(lines.routingLine1, "               FG Input: 2                Matte Input: 4");
    EXPECT_EQ(lines.routingLine2, "               BG Input: 3                Reference Input: 1");
}

TEST_F(ReadoutTest, FullModelsNameTheRoutingFromMenu46) {
    g_menuTable[46].entry[10] = 140;  // FG
    g_menuTable[46].entry[11] = 141;  // BG
    g_menuTable[46].entry[12] = 142;  // Matte 1
    g_menuTable[46].entry[13] = 20;   // not a function: no name
    g_functionTable[12] = MakeFunction(140, 1, "SDI 1,SDI 2,SDI 3");
    g_functionTable[13] = MakeFunction(141, 2, "SDI 1,SDI 2,SDI 3");
    g_functionTable[14] = MakeFunction(142, 7, "SDI 1,SDI 2,SDI 3");
    const ReadoutLines lines = ComposeReadouts(80, ScreenColour{1, 2, 3, 4});
    EXPECT_TRUE(lines.referenceLamp);
    EXPECT_EQ(lines.colourLine, "Screen Color:  R = 1%   G = 2%   B = 3%   M = 4%   Ref:");
    EXPECT_EQ(lines.routingLine1,
              "                  FG: SDI 2            Matte 1:                ");
    EXPECT_EQ(lines.routingLine2,
              "                  BG: SDI 3            Matte 2:                ");
}

TEST_F(ReadoutTest, FunctionNamesOutsideTheTableAreEmpty) {
    EXPECT_EQ(FunctionOptionName(127), "");
    EXPECT_EQ(FunctionOptionName(128 + kFunctionCount), "");
    EXPECT_EQ(FunctionOptionName(-5), "");
    g_functionTable[0].label = "Off,On";
    g_functionTable[0].value = -1;
    EXPECT_EQ(FunctionOptionName(128), "");
}

// The line's kept picture follows what it reads at paint time (the unit's model, the screen
// colour, the lamp) as well as its own texts, and an unchanged line is only copied.
TEST_F(InfoBarTest, KeptLineFollowsWhatItReadsAtPaintTime) {
    g_unitStatus[kStatusByteModel] = 11;
    bar.SetReferenceFlags(0x40);
    const QImage readouts = Grab(bar);
    const int drawn = bar.FaceDrawCount();
    EXPECT_EQ(Grab(bar), readouts);
    EXPECT_EQ(bar.FaceDrawCount(), drawn);
    bar.Screen().red = 77;
    const QImage redder = Grab(bar);
    EXPECT_NE(redder, readouts) << "a new screen colour shows";
    g_unitStatus[kStatusByteModel] = 4;
    EXPECT_NE(Grab(bar), redder) << "another model's read-outs show";
    bar.SetMessage("Loading");
    const QImage message = Grab(bar);
    bar.SetMessage("Loaded");
    EXPECT_NE(Grab(bar), message);
    bar.SetMessage("Loading");
    EXPECT_EQ(Grab(bar), message);
}

}  // namespace
