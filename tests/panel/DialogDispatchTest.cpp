// Opening the panel's dialogs: the reference-video guard, kinds this build has no dialog
// for, the files dialog's argument and what the panel sends after a dialog.
#include <gtest/gtest.h>

#include "app/SavedPort.h"
#include "controls/CImageToggleButton.h"
#include "controls/CInfoBar.h"
#include "controls/CLabel.h"
#include "protocol/Commands.h"
#include "tests/panel/PanelStoryTest.h"

namespace {

const char* const kNoReference =
    "No Reference Video!\n\nFile System not accessible.                  \n";

using DialogDispatchTest = PanelStoryTest;

TEST_F(DialogDispatchTest, FileSystemDialogsNeedReferenceVideoOnTheFullFamily) {
    Select(1);
    const std::vector<int>& files = Record(kFilesDialog);
    const std::vector<int>& gpi = Record(kGpiDialog);
    const std::vector<int>& lockout = Record(kLockoutDialog);
    g_panelModel.m_referencePresent = false;
    panel->Console().OnMenuButton(6);  // GPI
    panel->Console().OnMenuButton(7);
    EXPECT_TRUE(files.empty() && gpi.empty());
    ASSERT_EQ(prompter.boxes.size(), 2u);
    EXPECT_EQ(prompter.boxes[0].text, kNoReference);
    EXPECT_EQ(Menu(), 0);
    EXPECT_TRUE(panel->Timers().IsActive(kPollTimer));

    // Unit 4 has the same model: the files dialog is told so.
    g_panelModel.m_referencePresent = true;
    panel->Console().OnMenuButton(7);
    panel->Console().OnMenuButton(9);
    const int sameModel = FilesSameModelBit(4);
    EXPECT_EQ(files, (std::vector<int>{sameModel, sameModel | kFilesUserFilesBit}));
    // The attribute latch turns the user files button into the bypass transfer.
    SetLatch();
    panel->Console().OnMenuButton(9);
    EXPECT_EQ(files.size(), 2u);
    EXPECT_EQ(LastBox(), "The bypass transfer dialog is not available in this build of the panel.");
    EXPECT_FALSE(panel->Console().AttributeLatchSet());

    // The compact family needs it only for the on-air lock-out.
    Select(2);
    g_panelModel.m_referencePresent = false;
    panel->Console().OnMenuButton(7);
    panel->Console().SelectShortcut(15);
    panel->Console().OnMenuButton(2);  // GPI
    EXPECT_EQ(files.size(), 3u);
    EXPECT_EQ(gpi.size(), 1u);
    panel->Console().OnMenuButton(1);  // on-air lock-out
    EXPECT_TRUE(lockout.empty());
    EXPECT_EQ(LastBox(), kNoReference);
}

TEST_F(DialogDispatchTest, RoutingValuesGoToTheUnitOnlyOnOk) {
    Select(1);
    panel->Console().SelectShortcut(15);
    Record(kInputRoutingDialog, {.accepted = false, .valuesToSend = {{211, 1}}});
    panel->Console().OnMenuButton(6);
    EXPECT_EQ(Unit(1).Value(211), 0);
    Record(kInputRoutingDialog, {.accepted = true, .valuesToSend = {{211, 1}, {214, 0}}});
    panel->Console().OnMenuButton(6);
    EXPECT_EQ(opened[kInputRoutingDialog].size(), 2u);
    EXPECT_EQ(Unit(1).Value(211), 1);
    EXPECT_EQ(Unit(1).Value(214), 0);
    EXPECT_EQ(panel->TitleLabel()->Text(), "Configuration");

    // A dialog this build lacks is named to the user; the panel carries on.
    panel->Console().OnMenuButton(4);  // router menu
    panel->Console().OnMenuButton(3);  // monitor
    EXPECT_EQ(LastBox(), "The monitor dialog is not available in this build of the panel.");
    EXPECT_EQ(Menu(), 34);
    EXPECT_TRUE(panel->Timers().IsActive(kPromptTimer));

    // The port setup goes through the same registry.
    EXPECT_EQ(panel->RunPortSetup(2), std::nullopt);
    EXPECT_EQ(LastBox(), "The COM port setup dialog is not available in this build of the panel.");
    Record(kPortSetupDialog, {.accepted = true, .chosenNumber = 5});
    EXPECT_EQ(panel->RunPortSetup(2), 5);
    Record(kPortSetupDialog, {.accepted = false, .chosenNumber = 5});
    EXPECT_EQ(panel->RunPortSetup(3), std::nullopt);
    EXPECT_EQ(opened[kPortSetupDialog], (std::vector<int>{2, 3}));

    // This run's port is its own: a COM number chosen in the setup is never stored.
    SavePortNumber(3);
    Record(kPortSetupDialog, {.accepted = true, .chosenNumber = 9});
    panel->Toggle(20)->Press();
    EXPECT_EQ(g_panelModel.m_portNumber, 9);
    panel.reset();
    EXPECT_EQ(ReadSavedPort(), 3);
}

// After the on-air lock-out dialog the panel reads the lock-out tables again, and rebuilds the
// file systems of the units on the line only when the dialog changed something.
TEST_F(DialogDispatchTest, TheLockoutDialogIsFollowedByTheTablesAndAFileUpdateWhenModified) {
    Select(1);
    const auto count = [](const std::vector<std::vector<uint8_t>>& requests, Command command) {
        return std::count_if(requests.begin(), requests.end(), [command](const auto& request) {
            return !request.empty() && request[0] == static_cast<uint8_t>(command);
        });
    };
    for (const bool modified : {false, true}) {
        SCOPED_TRACE(modified);
        Record(kLockoutDialog, {.accepted = true, .modified = modified});
        panel->Console().OpenPanelDialog(kLockoutDialog, 0);
        const std::vector<std::vector<uint8_t>> sent = SentRequests();
        EXPECT_EQ(count(sent, Command::ReadOnAirLockout), 2);
        EXPECT_EQ(count(sent, Command::UpdateFileSystem), modified ? 4 : 0);
    }
}

// The unit falls silent while the routing dialog is open: its values stop at the first one
// that goes unanswered, the panel says so, and the unit's next answer clears it. A box the
// dialog shows leaves the polls stopped until the dialog is over.
TEST_F(DialogDispatchTest, AfterWorkForASilentUnitStopsAtItsFirstRequestAndSaysSo) {
    Select(1);
    panel->Console().SelectShortcut(15);
    opened[kInputRoutingDialog];
    bool pollsHeldAfterTheBox = false;
    CTavrinoxDlg::RegisterDialog(kInputRoutingDialog, [&](int) {
        Unit(1).SetPower(false);
        panel->ShowMessageBox("Routing changed.");
        pollsHeldAfterTheBox = !panel->Timers().IsActive(kPollTimer);
        PanelDialogResult result{.accepted = true};
        for (uint8_t number = 200; number < 210; ++number) {
            result.valuesToSend.push_back({number, 1});
        }
        return result;
    });
    line.TakeWritten();
    const uint32_t start = Now();
    panel->Console().OnMenuButton(6);
    EXPECT_LE(Now() - start, 21'000u);
    EXPECT_EQ(line.TakeWritten().size(), 6u) << "more than one SetParameterByte went out";
    EXPECT_TRUE(pollsHeldAfterTheBox);
    EXPECT_TRUE(panel->Timers().IsActive(kPollTimer));
    EXPECT_EQ(panel->InfoBar()->Alert(),
              "Main Unit 1 does not answer: the input routing dialog stopped.");

    Unit(1).SetPower(true);
    ASSERT_TRUE(RunPollTicksUntil([&] { return panel->InfoBar()->Alert().empty(); }, 20));
}

}  // namespace
