// The panel's named actions as a surface or a client calls them: the exchanges they take,
// the reasons they give when refused, turns summed while the line is busy, and the state
// pushed to whoever follows the panel.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>

#include "console/PanelActions.h"
#include "controls/CCanvasCtrl.h"
#include "platform/WindowWait.h"
#include "tests/panel/PanelStoryTest.h"

namespace {

constexpr uint8_t kAdjust = 0x81;
constexpr uint8_t kSetParameter = 0xA8;
const ActionOrigin kSurface{ActionSource::Surface, "test surface"};

struct StateLog : PanelStateListener {
    void OnPanelState(const PanelState& state) override { states.push_back(state); }
    std::vector<PanelState> states;
};

class NamedActionsTest : public PanelStoryTest {
  protected:
    PanelActions& Actions() { return panel->Actions(); }
    static void Settle() {
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::processEvents();
        }
    }
};

TEST_F(NamedActionsTest, ActionsTakeThePanelsExchangesOrSayWhyNot) {
    EXPECT_EQ(Actions().TurnKnob(0, 1, kSurface).reason, "No unit is selected.");
    EXPECT_EQ(Actions().TurnKnob(8, 1, kSurface).reason,
              "Knob 9 does not exist: they are numbered 1 to 8.");
    EXPECT_FALSE(Actions().PressToggle("MEM 9", kSurface).taken);
    // The panel runs modal in the program; a dialog of its own over it refuses actions.
    panel->setWindowModality(Qt::ApplicationModal);
    panel->show();
    QDialog dialog(panel.get());
    dialog.setModal(true);
    dialog.show();
    EXPECT_EQ(Actions().SelectUnit(1, kSurface).reason,
              "The panel has a dialog open; close it first.");
    dialog.hide();
    EXPECT_TRUE(Actions().SelectUnit(1, kSurface).taken);
    ASSERT_EQ(panel->SelectedUnit(), 1);
    line.TakeWritten();

    const int start = Unit(1).Value(0);
    EXPECT_TRUE(Actions().TurnKnob(0, 3, kSurface).taken);
    EXPECT_TRUE(Contains(SentRequests(), {kAdjust, 0, 0, 3}));
    EXPECT_EQ(Unit(1).Value(0), start + 3);

    EXPECT_TRUE(Actions().SetParameter(0, 500, kSurface).taken);
    EXPECT_TRUE(Contains(SentRequests(), {kSetParameter, 0, 0x01, 0xF4}));
    EXPECT_EQ(Unit(1).Value(0), 500);
    EXPECT_EQ(Actions().SetParameter(0, 5000, kSurface).reason, "Parameter 0 takes 0 to 1023.");
    EXPECT_FALSE(Actions().SetParameter(kEmptyKnobParam, 0, kSurface).taken);

    // A store is the memory key with the latch: the memory's store, then its recall.
    EXPECT_TRUE(Actions().StoreMemory(2, kSurface).taken);
    const auto stored = SentRequests();
    EXPECT_TRUE(Contains(stored, {kSetParameter, 222, 0}));
    EXPECT_TRUE(Contains(stored, {kSetParameter, 217, 0}));
    EXPECT_FALSE(panel->Console().AttributeLatchSet());
    EXPECT_TRUE(Actions().PressToggle("mem 3", kSurface).taken);
    EXPECT_TRUE(Contains(SentRequests(), {kSetParameter, 218, 0}));
}

TEST_F(NamedActionsTest, TurnsDuringAWaitGoAsOneAndTheStateFollowsTheUnit) {
    Select(1);
    StateLog log;
    Actions().AddListener(&log);
    ASSERT_EQ(log.states.size(), 1U);
    EXPECT_EQ(log.states[0].selectedUnit, 1);
    EXPECT_EQ(log.states[0].knobs[0].name, panel->KnobDisplay(0)->Param()->name);
    EXPECT_EQ(log.states[0].toggles[0].label, "UNIT 1");
    EXPECT_TRUE(log.states[0].toggles[0].lit);

    // Inside another piece's wait the turns only add up; once it is over they go as one.
    const int start = Unit(1).Value(0);
    WindowWait::Until([&] {
        static_cast<void>(Actions().TurnKnob(0, 2, kSurface));
        static_cast<void>(Actions().TurnKnob(0, 5, kSurface));
        static_cast<void>(Actions().TurnKnob(0, -1, kSurface));
        return true;
    });
    EXPECT_EQ(Actions().PendingTurn(0), 6);
    EXPECT_TRUE(panel->PollingStopped()) << "no poll may come between the turns of a spin";
    EXPECT_TRUE(line.TakeWritten().empty());
    Settle();
    const auto sent = SentRequests();
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(),
                            [](const auto& request) { return request[0] == kAdjust; }),
              1);
    EXPECT_TRUE(Contains(sent, {kAdjust, 0, 0, 6}));
    EXPECT_EQ(Unit(1).Value(0), start + 6);
    EXPECT_FALSE(panel->PollingStopped());
    ASSERT_GE(log.states.size(), 2U);
    EXPECT_EQ(log.states.back().knobs[0].value, start + 6);

    // The unit's own change reaches the listener with the next poll, once.
    Unit(1).ChangeLocally(0, 100);
    RunPollTicks(1);
    Settle();
    EXPECT_EQ(log.states.back().knobs[0].value, 100);
    const size_t told = log.states.size();
    RunPollTicks(2);
    Settle();
    EXPECT_EQ(log.states.size(), told);
    Actions().RemoveListener(&log);
}

}  // namespace
