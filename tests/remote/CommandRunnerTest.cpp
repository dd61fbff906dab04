// A client's SET reaches the panel's action with the raw value, below zero too, and a value no
// signed 16-bit word holds is refused before it.
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "model/PanelModel.h"
#include "remote/CommandRunner.h"

namespace {

// Keeps the parameters set; no other action is asked for here.
class SetRecorder : public ControlActions {
  public:
    ActionOutcome TurnKnob(int, int, const ActionOrigin&) override { return {}; }
    ActionOutcome PressMenuButton(int, const ActionOrigin&) override { return {}; }
    ActionOutcome PressFunctionButton(int, const ActionOrigin&) override { return {}; }
    ActionOutcome PressToggle(const std::string&, const ActionOrigin&) override { return {}; }
    ActionOutcome DragKnob(int, int, const ActionOrigin&) override { return {}; }
    ActionOutcome PressKnobDisplay(int, const ActionOrigin&) override { return {}; }
    ActionOutcome PressLabelled(const std::string&, const ActionOrigin&) override { return {}; }
    ActionOutcome SelectUnit(int, const ActionOrigin&) override { return {}; }
    ActionOutcome RecallMemory(int, const ActionOrigin&) override { return {}; }
    ActionOutcome StoreMemory(int, const ActionOrigin&) override { return {}; }
    ActionOutcome SetParameter(int number, int value, const ActionOrigin&) override {
        sets.emplace_back(number, value);
        return {};
    }
    // A panel that queues: the change is found when the test runs it.
    ActionOutcome SetFoundParameter(std::function<ParameterChange()> find,
                                    const ActionOrigin& origin) override {
        if (!queue) {
            return ControlActions::SetFoundParameter(std::move(find), origin);
        }
        queued.push_back(std::move(find));
        return ActionOutcome::Queued();
    }
    std::vector<std::pair<int, int>> sets;
    bool queue = false;
    std::vector<std::function<ParameterChange()>> queued;
};

}  // namespace

TEST(CommandRunnerTest, SetTakesSignedWordsAndRefusesWhatNoWordHolds) {
    ResetProgramState();
    g_paramTable[3].name = "Position H";
    SetRecorder actions;
    const PanelState state;
    const auto run = [&](const std::string& line) {
        const ParsedCommand parsed = ParseCommandLine(line);
        return RunCommand(*parsed.command, {actions, state, {ActionSource::Network, "test"}})
            .Line();
    };
    EXPECT_EQ(run("SET \"Position H\" -50"), "OK -50");
    EXPECT_EQ(run("SET 3 -32768"), "OK -32768");
    const std::string beyond = "ERR A raw value is one signed 16-bit word: -32768 to 32767.";
    EXPECT_EQ(run("SET 3 -32769"), beyond);
    EXPECT_EQ(run("SET 3 40000"), beyond);
    EXPECT_EQ(actions.sets, (std::vector<std::pair<int, int>>{{3, -50}, {3, -32768}}));
    ResetProgramState();
}

TEST(CommandRunnerTest, SetFindsItsParameterAndRangeWhenItsTurnComes) {
    ResetProgramState();
    g_paramTable[3].name = "Position H";
    SetRecorder actions;
    actions.queue = true;
    const PanelState state;
    const auto run = [&](const std::string& line) {
        return RunCommand(*ParseCommandLine(line).command,
                          {actions, state, {ActionSource::Network, "test"}})
            .Line();
    };
    // Taken into the queue with the value the tables give now, or none yet.
    EXPECT_EQ(run("SET \"Position H\" 7"), "OK 7");
    EXPECT_EQ(run("SET \"Softness\" 2"), "OK");
    // By their turn the selected unit has other tables.
    g_paramTable[3].name.clear();
    g_paramTable[5].name = "Softness";
    ASSERT_EQ(actions.queued.size(), 2U);
    EXPECT_EQ(actions.queued[0]().refusal, "The selected unit has no parameter \"Position H\".");
    const ParameterChange found = actions.queued[1]();
    EXPECT_EQ(found.number, 5);
    EXPECT_EQ(found.value, 2);
    ResetProgramState();
}
