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

using Texts = std::vector<std::string>;
const std::string kNone = "     ";

class MenuNavigationTest : public PanelStoryTest {
  protected:
    Texts Labels() const {
        Texts labels;
        for (int i = 0; i < CTavrinoxDlg::kMenuButtons; ++i) {
            labels.push_back(panel->MenuButton(i)->Caption());
        }
        return labels;
    }
    std::string FunctionLabel(int button) const { return panel->FunctionButton(button)->Caption(); }
    bool FunctionLit(int button) const { return panel->FunctionButton(button)->ImageIndex() == 1; }
    std::string Title() const { return panel->TitleLabel()->Text(); }
    std::string Line() const { return panel->InfoBar()->Message(); }
};

TEST_F(MenuNavigationTest, MenuButtonsWalkTheFullFamilysMenus) {
    Select(1);
    EXPECT_EQ(Title(), "Key Setup");
    EXPECT_EQ(Labels(), (Texts{kNone, "Source", "Border", "Config", "GPI Stat", "On Air", "GPI",
                               kNone, kNone, kNone}));
    // Return in a root menu keeps the menu and clears the line.
    panel->Console().ShowMessage("left over");
    panel->Console().OnMenuButton(0);
    EXPECT_EQ(Menu(), 0);
    EXPECT_EQ(Line(), "");

    // Only one level is remembered: Return twice swaps the last two menus.
    panel->Console().SelectShortcut(11);
    panel->Console().OnMenuButton(1);
    panel->Console().OnMenuButton(1);
    ASSERT_EQ(Menu(), 13);
    panel->Console().OnMenuButton(2);  // no target
    EXPECT_EQ(Menu(), 13);
    panel->Console().OnMenuButton(0);
    EXPECT_EQ(Title(), "BG Colour");
    EXPECT_EQ(Labels()[0], "Return");
    panel->Console().OnMenuButton(0);
    EXPECT_EQ(Menu(), 13);

    // A menu that stands for a dialog opens it; the old menu stays on show.
    CTavrinoxDlg::RegisterDialog(kOutputRoutingDialog, [this](int) {
        EXPECT_FALSE(panel->Timers().IsActive(kPollTimer));
        return PanelDialogResult{.accepted = true, .valuesToSend = {{214, 0}}};
    });
    panel->Console().SelectShortcut(15);
    panel->Console().OnMenuButton(5);
    CTavrinoxDlg::UnregisterDialog(kOutputRoutingDialog);
    EXPECT_EQ(Menu(), 15);
    EXPECT_EQ(Title(), "Configuration");
    EXPECT_EQ(panel->KnobDisplay(0)->Param()->number, 93);
    EXPECT_EQ(Unit(1).Value(214), 0);
    EXPECT_TRUE(panel->Timers().IsActive(kPollTimer));
    EXPECT_TRUE(panel->Timers().IsActive(kPromptTimer));
}

TEST_F(MenuNavigationTest, CompactFamilyOffersEffectsFilesAndCustomMenus) {
    Select(2);
    EXPECT_EQ(Labels(), (Texts{kNone, "Source", "Border", "Config", "GPI Stat", "On Air", "Effects",
                               "Files", "Custom", "User Files"}));
    panel->Console().OnMenuButton(8);
    EXPECT_EQ(Title(), "Custom Menu");
    EXPECT_EQ(Labels(), (Texts{"Return", "By Pass", "       ", "Custom 1", "Custom 2", "Custom 3",
                               "Effects", "Files", "Custom", "User Files"}));
    panel->Console().OnMenuButton(4);
    ASSERT_EQ(Menu(), 67);
    EXPECT_EQ(Title(), "Custom Menu 2");
    EXPECT_EQ(Labels()[1], "Configure");
    EXPECT_EQ(Labels()[4], "         ");
    // The latch takes the attributes of a custom menu's function as in any menu.
    const std::vector<int>& asked = Record(kAttributeDialog);
    g_customFunctionMap[2][2][0] = 8;
    SetLatch();
    panel->Console().OnFunctionButton(0);
    EXPECT_EQ(asked, std::vector<int>{136});
    EXPECT_FALSE(panel->Console().AttributeLatchSet());
    SetLatch();
    panel->Console().OnMenuButton(9);  // the latch makes this the bypass transfer, which clears it
    panel->Console().OnMenuButton(6);
    ASSERT_EQ(Menu(), 64);
    EXPECT_EQ(Title(), "Effect Menu");
    EXPECT_EQ(Labels()[5], "Configure");
    EXPECT_EQ(FunctionLabel(3), "Insert\r\nKeyframe");
    // A keyframe function has no attributes: the press only takes the latch.
    SetLatch();
    panel->Console().OnFunctionButton(2);
    EXPECT_FALSE(panel->Console().AttributeLatchSet());
    EXPECT_EQ(asked.size(), 1u);
    panel->Console().OnMenuButton(2);  // the keyframe menu's empty buttons lead nowhere
    EXPECT_EQ(Menu(), 64);

    // The compact family's GPI monitor reads the position further into the answer.
    Unit(2).Storage().SetRunningSequence(1);
    panel->Console().SelectShortcut(15);
    panel->Console().OnMenuButton(4);
    ASSERT_EQ(Menu(), 33);
    EXPECT_EQ(Line(), "GPI Sequence: 2        GPI Event: 0");
    panel->Console().OnMenuButton(0);
    EXPECT_EQ(Line(), "");
}

TEST_F(MenuNavigationTest, FunctionButtonsStepWrapAndSwitchTheBackground) {
    Select(1);
    // Three options: lit at every value. Two options: the first is unlit.
    for (const char* expected : {"Linear", "Luma", "Chroma", "Linear"}) {
        EXPECT_EQ(FunctionLabel(0), expected);
        EXPECT_TRUE(FunctionLit(0));
        panel->Console().OnFunctionButton(0);
    }
    EXPECT_EQ(Unit(1).Value(135), 1);
    EXPECT_EQ(FunctionLabel(1), "Normal");
    EXPECT_FALSE(FunctionLit(1));
    panel->Console().OnFunctionButton(1);
    EXPECT_EQ(FunctionLabel(1), "Invert");
    EXPECT_TRUE(FunctionLit(1));
    // With the attribute latch a press opens the function's attributes and steps nothing.
    const std::vector<int>& asked = Record(kAttributeDialog);
    SetLatch();
    panel->Console().OnFunctionButton(1);
    EXPECT_EQ(asked, std::vector<int>{136});
    EXPECT_EQ(Unit(1).Value(136), 1);

    // The take button sends a press and, a second later, its release.
    SentRequests();
    const uint32_t before_ms = Now();
    panel->Console().OnFunctionButton(5);
    const auto sent = SentRequests();
    EXPECT_TRUE(Contains(sent, {0xA8, 159, 1}));
    EXPECT_TRUE(Contains(sent, {0xA8, 159, 0}));
    EXPECT_GE(Now() - before_ms, 2000u);

    // Function 161 chooses the background menu without a menu button.
    panel->Console().SelectShortcut(11);
    panel->Console().OnFunctionButton(1);
    EXPECT_EQ(Title(), "Alt Background");
    panel->Console().OnFunctionButton(0);
    EXPECT_EQ(Menu(), 11);
    Select(2);  // extended menus
    panel->Console().SelectShortcut(11);
    EXPECT_EQ(Menu(), 41);
    panel->Console().OnFunctionButton(1);
    EXPECT_EQ(Menu(), 30);
    panel->Console().OnFunctionButton(0);
    EXPECT_EQ(Menu(), 41);
}

}  // namespace
