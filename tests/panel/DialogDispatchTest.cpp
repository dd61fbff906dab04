// Opening the panel's dialogs: the reference-video guard, kinds this build has no dialog
// for, the files dialog's argument and what the panel sends after a dialog.
#include <gtest/gtest.h>

#include <map>

#include "controls/CLabel.h"
#include "tests/panel/PanelStoryTest.h"

namespace {

const char* const kNoReference =
    "No Reference Video!\n\nFile System not accessible.                  \n";

class DialogDispatchTest : public PanelStoryTest {
  protected:
    void TearDown() override {
        for (int kind :
             {kFilesDialog, kGpiDialog, kLockoutDialog, kInputRoutingDialog, kPortSetupDialog}) {
            CTavrinoxDlg::UnregisterDialog(kind);
        }
        PanelStoryTest::TearDown();
    }

    // Registers a runner of `kind` that records its arguments and returns `result`.
    std::vector<int>& Record(int kind, PanelDialogResult result = {}) {
        std::vector<int>& calls = opened[kind];
        CTavrinoxDlg::RegisterDialog(kind, [&calls, result](int argument) {
            calls.push_back(argument);
            return result;
        });
        return calls;
    }

    std::map<int, std::vector<int>> opened;
};

TEST_F(DialogDispatchTest, FileSystemDialogsNeedReferenceVideoOnTheFullFamily) {
    Select(1);
    std::vector<int>& files = Record(kFilesDialog);
    std::vector<int>& lockout = Record(kLockoutDialog);
    g_panelModel.m_referencePresent = false;
    panel->OnMenuButton(7);
    panel->OnMenuButton(5);  // on-air lock-out
    EXPECT_TRUE(files.empty());
    EXPECT_TRUE(lockout.empty());
    ASSERT_EQ(prompter.boxes.size(), 2u);
    EXPECT_EQ(prompter.boxes[0].text, kNoReference);
    EXPECT_EQ(LastBox(), kNoReference);
    EXPECT_EQ(Menu(), 0);
    EXPECT_TRUE(panel->Timers().IsActive(kPollTimer));

    g_panelModel.m_referencePresent = true;
    panel->OnMenuButton(7);
    panel->OnMenuButton(9);
    EXPECT_EQ(files,
              (std::vector<int>{FilesSameModelBit(4), FilesSameModelBit(4) | kFilesUserFilesBit}));
    // The attribute latch turns the user files button into the bypass transfer.
    g_panelModel.m_lampBits[0] |= 0x10;
    panel->OnMenuButton(9);
    EXPECT_EQ(files.size(), 2u);
    EXPECT_EQ(LastBox(), "The bypass transfer dialog is not available in this build of the panel.");
    EXPECT_FALSE(panel->AttributeLatchSet());
}

TEST_F(DialogDispatchTest, CompactFamilyOpensFilesAndGpiWithoutReferenceVideo) {
    Select(2);
    g_panelModel.m_referencePresent = false;
    std::vector<int>& files = Record(kFilesDialog);
    std::vector<int>& gpi = Record(kGpiDialog);
    Record(kLockoutDialog);
    panel->OnMenuButton(7);
    panel->SelectShortcut(15);
    panel->OnMenuButton(2);
    EXPECT_EQ(files.size(), 1u);
    EXPECT_EQ(gpi.size(), 1u);
    EXPECT_EQ(Menu(), 15);
    EXPECT_TRUE(prompter.boxes.empty());
    panel->OnMenuButton(1);  // on-air lock-out needs reference video on every model
    EXPECT_TRUE(opened[kLockoutDialog].empty());
    EXPECT_EQ(LastBox(), kNoReference);
}

TEST_F(DialogDispatchTest, RoutingValuesGoToTheUnitOnlyOnOk) {
    Select(1);
    panel->SelectShortcut(15);
    const auto& unit = Unit(1);
    std::vector<int>& inputs =
        Record(kInputRoutingDialog, {.accepted = false, .valuesToSend = {{211, 1}}});
    panel->OnMenuButton(6);
    EXPECT_EQ(inputs.size(), 1u);
    EXPECT_EQ(unit.Value(211), 0);
    Record(kInputRoutingDialog, {.accepted = true, .valuesToSend = {{211, 1}, {214, 0}}});
    panel->OnMenuButton(6);
    EXPECT_EQ(unit.Value(211), 1);
    EXPECT_EQ(unit.Value(214), 0);
    EXPECT_EQ(panel->TitleLabel()->Text(), "Configuration");

    // A dialog this build lacks is named to the user; the panel carries on.
    panel->OnMenuButton(4);  // router menu
    panel->OnMenuButton(3);  // monitor
    EXPECT_EQ(LastBox(), "The monitor dialog is not available in this build of the panel.");
    EXPECT_EQ(Menu(), 34);
    EXPECT_TRUE(panel->Timers().IsActive(kPromptTimer));
}

TEST_F(DialogDispatchTest, PortSetupRunsThroughTheRegistry) {
    EXPECT_EQ(panel->RunPortSetup(2), std::nullopt);
    EXPECT_EQ(LastBox(), "The COM port setup dialog is not available in this build of the panel.");
    std::vector<int>& setup = Record(kPortSetupDialog, {.accepted = true, .chosenNumber = 5});
    EXPECT_EQ(panel->RunPortSetup(2), 5);
    Record(kPortSetupDialog, {.accepted = false, .chosenNumber = 5});
    EXPECT_EQ(panel->RunPortSetup(3), std::nullopt);
    EXPECT_EQ(setup, (std::vector<int>{2, 3}));
}

}  // namespace
