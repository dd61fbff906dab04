// What a unit says to the user through its status: texts in the information line for three
// seconds, questions in a box whose answer goes back to the unit, the indicator icon.
#include "controls/CInfoBar.h"
#include "tests/panel/PanelFixture.h"

namespace {

// Notes whether the polls were stopped while each box was up.
class PollWatchingPrompter : public ScriptedPrompter {
  public:
    PromptAnswer Show(const std::string& text, const std::string& caption, PromptIcon icon,
                      PromptButtons buttons) override {
        pollingDuringBox.push_back(g_mainPanel->Timers().IsActive(kPollTimer) ||
                                   g_mainPanel->Timers().IsActive(kPromptTimer));
        return ScriptedPrompter::Show(text, caption, icon, buttons);
    }
    std::vector<bool> pollingDuringBox;
};

class UnitMessagesTest : public PanelFixture {
  protected:
    void SetUp() override {
        PanelFixture::SetUp();
        SetPrompter(&watcher);
        SelectUnit(1);
    }
    PollWatchingPrompter watcher;
};

TEST_F(UnitMessagesTest, MessagesShowForThreeSecondsThenTheLineClears) {
    Unit(1).PostMessage(100, "Fan failure");
    RunPollTicks(1);
    EXPECT_EQ(panel->InfoBar()->Message(), "Fan failure");
    EXPECT_TRUE(panel->Timers().IsActive(kMessageClearTimer));
    const uint32_t shown = Now();
    RunPollTicksUntil([&] { return Now() - shown >= 2700; });
    EXPECT_EQ(panel->InfoBar()->Message(), "Fan failure");
    EXPECT_TRUE(RunPollTicksUntil([&] { return panel->InfoBar()->Message().empty(); }));
    EXPECT_GE(Now() - shown, 3000u);
    EXPECT_LT(Now() - shown, 3600u);
    EXPECT_FALSE(panel->Timers().IsActive(kMessageClearTimer));

    // A numbered message takes its text from the unit's message table.
    Unit(1).PostMessage(2);
    RunPollTicks(1);
    EXPECT_EQ(panel->InfoBar()->Message(), g_messageTable[2].text);
    EXPECT_EQ(panel->InfoBar()->Message(), "Setup stored in memory.");
    EXPECT_TRUE(watcher.boxes.empty());

    // A busy unit's message from the table shows too: it takes no exchange.
    RunPollTicksUntil([&] { return panel->InfoBar()->Message().empty(); });
    Unit(1).SetBusy(true);
    Unit(1).PostMessage(2);
    RunPollTicks(2);
    EXPECT_EQ(panel->InfoBar()->Message(), "Setup stored in memory.");
    Unit(1).SetBusy(false);
}

TEST_F(UnitMessagesTest, AQuestionIsAskedWithThePollsStoppedAndTheAnswerSent) {
    watcher.answers = {PromptAnswer::Cancel, PromptAnswer::Ok};
    Unit(1).PostMessage(5);
    RunPollTicks(1);
    ASSERT_EQ(watcher.boxes.size(), 1u);
    EXPECT_EQ(watcher.boxes[0].text, "Overwrite the stored setup?");
    EXPECT_EQ(watcher.boxes[0].buttons, PromptButtons::OkCancel);
    EXPECT_FALSE(watcher.pollingDuringBox[0]);
    ASSERT_EQ(Unit(1).Replies().size(), 1u);
    EXPECT_EQ(Unit(1).Replies()[0], std::make_pair(uint8_t{11}, uint8_t{2}));
    EXPECT_TRUE(panel->Timers().IsActive(kPollTimer));
    EXPECT_TRUE(panel->Timers().IsActive(kPromptTimer));

    // Answered once: the unit withdrew it. The next question gets OK.
    RunPollTicks(3);
    EXPECT_EQ(watcher.boxes.size(), 1u);
    Unit(1).PostMessage(6);
    RunPollTicks(1);
    ASSERT_EQ(Unit(1).Replies().size(), 2u);
    EXPECT_EQ(Unit(1).Replies()[1], std::make_pair(uint8_t{11}, uint8_t{1}));
}

TEST_F(UnitMessagesTest, TheIndicatorShowsTheSelectedUnitsIcon) {
    Unit(1).SetFlag(kStatusIndicator, true);
    RunPollTicks(1);
    EXPECT_TRUE(panel->UnitIcon(0)->isVisibleTo(panel.get()));
    EXPECT_FALSE(panel->UnitIcon(2)->isVisibleTo(panel.get()));
    Unit(1).SetFlag(kStatusIndicator, false);
    RunPollTicks(1);
    EXPECT_FALSE(panel->UnitIcon(0)->isVisibleTo(panel.get()));
}

}  // namespace
