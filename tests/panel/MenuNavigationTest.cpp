// Menu and function buttons against simulated units: labels, where each press leads, and
// what goes to the unit.
#include <gtest/gtest.h>

#include "controls/CCanvasCtrl.h"
#include "controls/CImageTextButton.h"
#include "controls/CInfoBar.h"
#include "controls/CLabel.h"
#include "sim/unit/UnitStorage.h"
#include "tests/panel/PanelStoryTest.h"

namespace {

class MenuNavigationTest : public PanelStoryTest {
  protected:
    std::string Label(int button) const { return panel->MenuButton(button)->Caption(); }
    std::string FunctionLabel(int button) const { return panel->FunctionButton(button)->Caption(); }
    bool FunctionLit(int button) const { return panel->FunctionButton(button)->ImageIndex() == 1; }
    std::string Title() const { return panel->TitleLabel()->Text(); }
};

TEST_F(MenuNavigationTest, MenuButtonsWalkTheFullFamilysMenus) {
    Select(1);
    EXPECT_EQ(Title(), "Key Setup");
    EXPECT_EQ(Label(0), "     ");  // a root menu has no Return
    EXPECT_EQ(Label(1), "Source");
    EXPECT_EQ(Label(3), "Config");
    EXPECT_EQ(Label(7), "     ");

    // Return in a root menu keeps the menu and clears the line.
    panel->InfoBar()->SetMessage("left over");
    panel->OnMenuButton(0);
    EXPECT_EQ(Menu(), 0);
    EXPECT_EQ(panel->InfoBar()->Message(), "");

    // Only one level is remembered: Return twice swaps the last two menus.
    panel->SelectShortcut(11);
    panel->OnMenuButton(1);
    ASSERT_EQ(Menu(), 12);
    EXPECT_EQ(Label(0), "Return");
    panel->OnMenuButton(1);
    ASSERT_EQ(Menu(), 13);
    panel->OnMenuButton(2);  // no target
    EXPECT_EQ(Menu(), 13);
    panel->OnMenuButton(0);
    EXPECT_EQ(Menu(), 12);
    EXPECT_EQ(Title(), "BG Colour");
    panel->OnMenuButton(0);
    EXPECT_EQ(Menu(), 13);

    // A menu that stands for a dialog opens it and leaves the old menu on show.
    int opened = 0;
    CTavrinoxDlg::RegisterDialog(kOutputRoutingDialog, [&](int) {
        ++opened;
        EXPECT_FALSE(panel->Timers().IsActive(kPollTimer));
        return PanelDialogResult{.accepted = true, .valuesToSend = {{214, 0}}};
    });
    panel->SelectShortcut(15);
    panel->OnMenuButton(5);
    CTavrinoxDlg::UnregisterDialog(kOutputRoutingDialog);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(Menu(), 15);
    EXPECT_EQ(Title(), "Configuration");
    EXPECT_EQ(panel->KnobDisplay(0)->Param()->number, 93);
    EXPECT_EQ(Unit(1).Value(214), 0);
    EXPECT_TRUE(panel->Timers().IsActive(kPollTimer));
    EXPECT_TRUE(panel->Timers().IsActive(kPromptTimer));
}

TEST_F(MenuNavigationTest, CompactFamilyOffersEffectsFilesAndCustomMenus) {
    Select(2);
    EXPECT_EQ(Label(6), "Effects");
    EXPECT_EQ(Label(7), "Files");
    EXPECT_EQ(Label(8), "Custom");
    EXPECT_EQ(Label(9), "User Files");

    panel->OnMenuButton(8);
    ASSERT_EQ(Menu(), 65);
    EXPECT_EQ(Title(), "Custom Menu");
    EXPECT_EQ(Label(1), "By Pass");
    EXPECT_EQ(Label(2), "       ");
    EXPECT_EQ(Label(3), "Custom 1");
    EXPECT_EQ(Label(5), "Custom 3");
    EXPECT_EQ(Label(6), "Effects");

    panel->OnMenuButton(4);
    ASSERT_EQ(Menu(), 67);
    EXPECT_EQ(Title(), "Custom Menu 2");
    EXPECT_EQ(Label(4), "         ");
    EXPECT_EQ(Label(1), "Configure");
    panel->OnMenuButton(0);
    EXPECT_EQ(Menu(), 65);

    panel->OnMenuButton(6);
    ASSERT_EQ(Menu(), 64);
    EXPECT_EQ(Title(), "Effect Menu");
    EXPECT_EQ(Label(5), "Configure");
    EXPECT_EQ(FunctionLabel(3), "Insert\r\nKeyframe");
    panel->OnMenuButton(2);  // the keyframe menu's empty buttons lead nowhere
    EXPECT_EQ(Menu(), 64);
}

TEST_F(MenuNavigationTest, GpiMenusShowTheRunningSequence) {
    Unit(1).Storage().SetRunningSequence(2);
    Select(1);
    panel->OnMenuButton(4);
    ASSERT_EQ(Menu(), 31);
    EXPECT_EQ(panel->InfoBar()->Message(), "GPI Sequence: 3        GPI Event: 0");

    // The compact family's monitor menu reads the position further into the answer.
    Unit(2).Storage().SetRunningSequence(1);
    Select(2);
    panel->SelectShortcut(15);
    panel->OnMenuButton(4);
    ASSERT_EQ(Menu(), 33);
    EXPECT_EQ(panel->InfoBar()->Message(), "GPI Sequence: 2        GPI Event: 0");
    panel->OnMenuButton(0);
    EXPECT_EQ(panel->InfoBar()->Message(), "");
}

TEST_F(MenuNavigationTest, FunctionButtonsStepWrapAndSwitchTheBackground) {
    Select(1);
    // Three options: the first is lit at value 0 too.
    EXPECT_EQ(FunctionLabel(0), "Linear");
    EXPECT_TRUE(FunctionLit(0));
    for (const char* expected : {"Luma", "Chroma", "Linear"}) {
        panel->OnFunctionButton(0);
        EXPECT_EQ(FunctionLabel(0), expected);
        EXPECT_TRUE(FunctionLit(0));
    }
    EXPECT_EQ(Unit(1).Value(135), 0);
    // Two options: the first is unlit at value 0.
    EXPECT_EQ(FunctionLabel(1), "Normal");
    EXPECT_FALSE(FunctionLit(1));
    panel->OnFunctionButton(1);
    EXPECT_EQ(FunctionLabel(1), "Invert");
    EXPECT_TRUE(FunctionLit(1));

    // The take button sends a press and, a second later, its release.
    SentRequests();
    const uint32_t before_ms = Now();
    panel->OnFunctionButton(5);
    const auto sent = SentRequests();
    EXPECT_TRUE(Contains(sent, {0xA8, 159, 1}));
    EXPECT_TRUE(Contains(sent, {0xA8, 159, 0}));
    EXPECT_GE(Now() - before_ms, 2000u);

    // Function 161 chooses the background menu without a menu button.
    panel->SelectShortcut(11);
    panel->OnFunctionButton(1);
    EXPECT_EQ(Menu(), 30);
    EXPECT_EQ(Title(), "Alt Background");
    panel->OnFunctionButton(0);
    EXPECT_EQ(Menu(), 11);
    Select(2);  // extended menus
    panel->SelectShortcut(11);
    EXPECT_EQ(Menu(), 41);
    panel->OnFunctionButton(1);
    EXPECT_EQ(Menu(), 30);
    panel->OnFunctionButton(0);
    EXPECT_EQ(Menu(), 41);
}

TEST_F(MenuNavigationTest, AttributeLatchTurnsAFunctionPressIntoItsAttributes) {
    Select(2);
    std::vector<int> asked;
    CTavrinoxDlg::RegisterDialog(kAttributeDialog, [&](int argument) {
        asked.push_back(argument);
        return PanelDialogResult{};
    });
    g_panelModel.m_lampBits[0] |= 0x10;
    panel->OnFunctionButton(0);
    EXPECT_EQ(asked, std::vector<int>{135});
    EXPECT_FALSE(panel->AttributeLatchSet());
    EXPECT_EQ(Unit(2).Value(135), 0);

    // The panel's own menus have no unit entry behind their buttons: the press is ignored.
    panel->OnMenuButton(8);
    g_panelModel.m_lampBits[0] |= 0x10;
    panel->OnFunctionButton(0);
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_TRUE(panel->AttributeLatchSet());
    CTavrinoxDlg::UnregisterDialog(kAttributeDialog);

    // Without a unit's answer nothing acts at all.
    g_unitStatus[kStatusByteModel] = 0;
    panel->OnMenuButton(0);
    EXPECT_EQ(Menu(), 65);
}

}  // namespace
