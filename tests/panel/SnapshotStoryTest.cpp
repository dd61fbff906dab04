// Snapshots, the as-run log and undo on the panel against simulated units: a restore sends
// exactly what differs and reads it back, refuses another model, stops where a unit went
// silent and can be run again; the log holds a line per burst with its source; undo walks
// back through the changes.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "console/PanelActions.h"
#include "console/PanelHistory.h"
#include "controls/CCanvasCtrl.h"
#include "controls/CInfoBar.h"
#include "controls/CSettingsBar.h"
#include "history/AsRunLines.h"
#include "history/SnapshotFile.h"
#include "history/ValueText.h"
#include "protocol/Commands.h"
#include "tests/panel/PanelStoryTest.h"

namespace {

constexpr uint8_t kSet = static_cast<uint8_t>(Command::SetParameter);

// The line as the simulator sees it, with unit 1 switched off after it has answered
// `answers` set requests: a unit that goes silent in the middle of a restore.
class PowerCut : public LinePeer {
  public:
    PowerCut(SimLine& sim, SimUnit& unit, int answers)
        : m_sim(sim), m_unit(unit), m_left(answers) {}
    void OnMasterByte(InProcessLine& line, uint8_t byte) override {
        m_frame.push_back(byte);
        const bool complete = m_frame.size() >= 2 && m_frame.size() == m_frame[1] + 3U;
        const bool set = complete && m_frame[2] == kSet;
        if (set && m_left == 0) {
            m_unit.SetPower(false);
        }
        m_sim.OnMasterByte(line, byte);
        if (complete) {
            m_left -= set && m_left > 0 ? 1 : 0;
            m_frame.clear();
        }
    }

  private:
    SimLine& m_sim;
    SimUnit& m_unit;
    int m_left;
    std::vector<uint8_t> m_frame;
};

// The line as the simulator sees it, counting the bytes at which the panel's tables stand
// for another unit than `selected`: its address selected, or parameter `number` not its own.
struct TablesWatch : LinePeer {
    TablesWatch(SimLine& line, SimUnit& unit, int parameter)
        : sim(line), selected(unit), number(parameter) {}
    void OnMasterByte(InProcessLine& line, uint8_t byte) override {
        strayBytes += g_currentUnitAddress != selected.Address() ||
                      g_paramTable[number].value != selected.Value(number);
        sim.OnMasterByte(line, byte);
    }
    SimLine& sim;
    SimUnit& selected;
    int number;
    int strayBytes = 0;
};

class SnapshotStoryTest : public PanelStoryTest {
  protected:
    void SetUp() override {
        PanelStoryTest::SetUp();
        Select(1);
        PanelHistory::Prompts prompts;
        prompts.chooseFile = [this](bool, const std::string&) { return file; };
        prompts.showDifferences = [this](const std::string& heading, const std::string&,
                                         const std::string&,
                                         const std::vector<ValueDifference>& differences, bool) {
            shownHeading = heading;
            shown = differences;
            return true;
        };
        prompts.chooseUnit = [](const std::vector<int>& candidates) { return candidates.back(); };
        history = std::make_unique<PanelHistory>(panel->Console(),
                                                 dir.filePath("as-run.log").toStdString(), prompts);
        file = dir.filePath("unit1.json").toStdString();
    }
    void TearDown() override {
        history.reset();
        PanelStoryTest::TearDown();
    }

    // The first `count` knob parameters of the selected unit with a range to move in.
    static std::vector<int> MovableParameters(size_t count) {
        std::vector<int> numbers;
        for (int number = 0; number <= kLastKnobParameter && numbers.size() < count; ++number) {
            const ParamRecord& record = g_paramTable[number];
            if (!record.name.empty() && record.rawMax - record.rawMin > 10 &&
                (record.flags & kFlagStepped) == 0) {
                numbers.push_back(number);
            }
        }
        return numbers;
    }
    // Moves each of `numbers` on the unit itself, as its own panel would.
    void ChangeOnTheUnit(const std::vector<int>& numbers) {
        for (const int number : numbers) {
            const ParamRecord& record = g_paramTable[number];
            const int value = Unit(1).Value(number);
            Unit(1).ChangeLocally(number, value > record.rawMin + 5 ? value - 5 : value + 5);
        }
    }
    std::vector<std::vector<uint8_t>> SetRequests() {
        std::vector<std::vector<uint8_t>> sets;
        for (auto& request : SentRequests()) {
            if (!request.empty() && request[0] == kSet) {
                sets.push_back(std::move(request));
            }
        }
        return sets;
    }
    std::vector<std::string> LogLines() {
        history->CollectChanges(true);
        EXPECT_TRUE(history->Log().Flush(std::chrono::milliseconds(5000)));
        return ReadLogLines(history->Log().Path(), 0, 100);
    }

    QTemporaryDir dir;
    std::unique_ptr<PanelHistory> history;
    std::string file;
    std::string shownHeading;
    std::vector<ValueDifference> shown;
};

}  // namespace

TEST_F(SnapshotStoryTest, RestoreSendsExactlyWhatDiffersAndRefusesAnotherModel) {
    EXPECT_NE(history->SaveSnapshot().find("saved"), std::string::npos) << LastBox();
    const std::optional<Snapshot> saved = ReadSnapshotFile(file).snapshot;
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->unit, 1);
    EXPECT_EQ(saved->model, 11);
    EXPECT_EQ(saved->settingsText, panel->SettingsBar()->SettingsText());

    const std::vector<int> moved = MovableParameters(3);
    ASSERT_EQ(moved.size(), 3U);
    ChangeOnTheUnit(moved);
    history->CompareWithSnapshot();
    ASSERT_EQ(shown.size(), 3U);
    for (size_t i = 0; i < shown.size(); ++i) {
        const ParamRecord& record = g_paramTable[moved[i]];
        EXPECT_EQ(shown[i].name, record.name);
        EXPECT_EQ(shown[i].thenText, ParameterValueText(record, saved->Find(moved[i])->value));
        EXPECT_EQ(shown[i].nowText, ParameterValueText(record, Unit(1).Value(moved[i])));
    }

    SentRequests();
    EXPECT_EQ(history->RestoreSnapshot(), "Restored 3 of 3 values.");
    const auto sets = SetRequests();
    ASSERT_EQ(sets.size(), 3U);
    for (size_t i = 0; i < moved.size(); ++i) {
        const int value = saved->Find(moved[i])->value;
        EXPECT_EQ(sets[i], (std::vector<uint8_t>{kSet, static_cast<uint8_t>(moved[i]),
                                                 static_cast<uint8_t>(value >> 8),
                                                 static_cast<uint8_t>(value & 0xFF)}));
        EXPECT_EQ(Unit(1).Value(moved[i]), value);
        EXPECT_EQ(g_paramTable[moved[i]].value, value);
    }
    EXPECT_NE(history->RestoreSnapshot().find("already holds every value"), std::string::npos);
    EXPECT_TRUE(SetRequests().empty());

    // Another model's snapshot is refused whole; another image of this model only warns.
    Snapshot other = *saved;
    other.model = 4;
    ASSERT_EQ(WriteSnapshotFile(file, other), "");
    EXPECT_NE(history->RestoreSnapshot().find("model 4"), std::string::npos);
    EXPECT_TRUE(SetRequests().empty());
    other = *saved;
    other.menuImageHash ^= 1;
    ASSERT_EQ(WriteSnapshotFile(file, other), "");
    ChangeOnTheUnit({moved[0]});
    EXPECT_EQ(history->RestoreSnapshot(), "Restored 1 of 1 value.");
    EXPECT_NE(shownHeading.find("another menu image"), std::string::npos);

    // A value outside its parameter's range now is not sent and is named; one inside the
    // range the records give but beyond what the unit takes is reported with what it holds
    // instead; a parameter the snapshot names otherwise is not one of this image's and is
    // left alone.
    const ParamRecord& first = g_paramTable[moved[0]];
    ParamRecord& third = g_paramTable[moved[2]];
    const int unitMost = third.rawMax;
    third.rawMax = static_cast<int16_t>(unitMost + 100);
    other = *saved;
    const_cast<SnapshotValue*>(other.Find(moved[0]))->value = first.rawMax + 50;
    const_cast<SnapshotValue*>(other.Find(moved[1]))->name = "Another";
    const_cast<SnapshotValue*>(other.Find(moved[2]))->value = unitMost + 50;
    ASSERT_EQ(WriteSnapshotFile(file, other), "");
    ChangeOnTheUnit(moved);
    SentRequests();
    EXPECT_EQ(history->RestoreSnapshot(),
              "Restored 0 of 2 values; 1 value not sent, outside its range now: " + first.name +
                  " (" + ParameterValueText(first, first.rawMax + 50) + ", takes " +
                  ParameterValueText(first, first.rawMin) + " to " +
                  ParameterValueText(first, first.rawMax) + "); Main Unit 1 refused 1 value: " +
                  third.name + " (holds " + ParameterValueText(third, unitMost) + ", not " +
                  ParameterValueText(third, unitMost + 50) + ").");
    EXPECT_EQ(SetRequests().size(), 1U);

    // A bad file changes nothing and says what is wrong with it.
    SentRequests();
    std::ofstream(file) << "{\"version\": 1, \"unit\": 9}";
    EXPECT_EQ(history->RestoreSnapshot(), file + ": unit must be a whole number from 1 to 4");
    EXPECT_TRUE(SetRequests().empty());
}

TEST_F(SnapshotStoryTest, ARestoreCutShortBySilenceSaysHowFarItGotAndRunsAgain) {
    history->SaveSnapshot();
    const std::vector<int> moved = MovableParameters(4);
    ChangeOnTheUnit(moved);
    PowerCut cut(sim, Unit(1), 2);
    line.SetPeer(&cut);
    EXPECT_EQ(history->RestoreSnapshot(), "Restored 2 of 4 values; Main Unit 1 stopped answering.");
    line.SetPeer(&sim);
    Unit(1).SetPower(true);
    ASSERT_TRUE(RunPollTicksUntil([&] {
        return !panel->LinkLost() && panel->SelectedUnit() == 1 && g_panelModel.IsImageLoaded(1);
    }));
    SentRequests();
    EXPECT_EQ(history->RestoreSnapshot(), "Restored 2 of 2 values.");
    EXPECT_EQ(SetRequests().size(), 2U);
    const Snapshot saved = *ReadSnapshotFile(file).snapshot;
    for (const int number : moved) {
        EXPECT_EQ(Unit(1).Value(number), saved.Find(number)->value);
    }

    // Units of one model side by side: unit 4 is another full-family unit, read into
    // records of its own, so at no byte of the comparison do the tables stand for it.
    Unit(4).ChangeLocally(moved[0], Unit(1).Value(moved[0]) + 1);
    TablesWatch watch(sim, Unit(1), moved[0]);
    line.SetPeer(&watch);
    EXPECT_EQ(history->CompareUnits(), "1 values differ between Main Unit 4 and Main Unit 1.");
    line.SetPeer(&sim);
    EXPECT_EQ(watch.strayBytes, 0);
    ASSERT_EQ(shown.size(), 1U);
    EXPECT_EQ(shown[0].number, moved[0]);
    EXPECT_EQ(g_currentUnitAddress, AddressOfUnit(1));
    EXPECT_EQ(g_paramTable[moved[0]].value, Unit(1).Value(moved[0]));
}

TEST_F(SnapshotStoryTest, TheLogHoldsALinePerBurstWithItsSourceAndUndoWalksBack) {
    const int number = panel->KnobDisplay(0)->Param()->number;
    const ParamRecord& record = g_paramTable[number];
    const int start = Unit(1).Value(number);
    const ActionOrigin surface{ActionSource::Surface, "fader bank"};
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(panel->Actions().TurnKnob(0, 2, surface).taken);
        RunPollTicks(1);
        history->CollectChanges();
    }
    RunPollTicks(11);  // the burst ends after a second without a turn
    ASSERT_TRUE(
        panel->Actions().SetParameter(number, start, {ActionSource::Network, "127.0.0.1"}).taken);
    // A focused knob's key is the keyboard's, with no action to say so.
    QTest::keyClick(panel->KnobDisplay(0), Qt::Key_Up);
    RunPollTicks(1);
    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 3U);
    EXPECT_NE(lines[2].find(" | keyboard"), std::string::npos) << lines[2];
    EXPECT_NE(lines[0].find(" | Main Unit 1 | " + record.name + " | " +
                            ParameterValueText(record, start) + " -> " +
                            ParameterValueText(record, start + 8) + " | surface fader bank"),
              std::string::npos)
        << lines[0];
    EXPECT_NE(lines[1].find(ParameterValueText(record, start + 8) + " -> " +
                            ParameterValueText(record, start) + " | network 127.0.0.1"),
              std::string::npos)
        << lines[1];

    // Undo goes back to before the set value, then to before the burst; then there is none.
    ASSERT_EQ(history->UndoSteps().Depth(1), 3U);
    history->Undo();
    EXPECT_EQ(history->Undo(),
              "Undone: " + record.name + " back to " + ParameterValueText(record, start + 8) + ".");
    EXPECT_EQ(Unit(1).Value(number), start + 8);
    history->Undo();
    EXPECT_EQ(Unit(1).Value(number), start);
    EXPECT_EQ(history->Undo(), "Nothing to undo on Main Unit 1.");
    const std::vector<std::string> undone = LogLines();
    ASSERT_EQ(undone.size(), 6U);
    EXPECT_NE(undone[5].find(", undo"), std::string::npos) << undone[5];

    // A step holds for the model and the menu image it was made with: once another image or
    // another model holds the address, undo sends nothing and the info line says why.
    ASSERT_TRUE(panel->Actions().SetParameter(number, start + 4, surface).taken);
    RunPollTicks(1);
    history->CollectChanges(true);
    ASSERT_EQ(history->UndoSteps().Depth(1), 1U);
    uint8_t& imageByte = g_panelModel.MenuImage(1).back();
    imageByte ^= 0xFF;
    SentRequests();
    history->Undo();
    EXPECT_EQ(
        panel->InfoBar()->Message(),
        "Not undone: Main Unit 1 has another menu image since the change of " + record.name + ".");
    imageByte ^= 0xFF;
    const std::string name = record.name;
    sim.RemoveUnit(1);
    ASSERT_NE(sim.AddUnit(1, 4), nullptr);
    ASSERT_TRUE(RunPollTicksUntil([&] {
        return !panel->LinkLost() && g_unitStatus[kStatusByteModel] == 4 &&
               g_panelModel.IsImageLoaded(1);
    }));
    history->Undo();
    EXPECT_EQ(panel->InfoBar()->Message(),
              "Not undone: Main Unit 1 is a model 4 now; the change of " + name +
                  " was made on a model 11.");
    EXPECT_TRUE(SetRequests().empty());
    EXPECT_EQ(history->UndoSteps().Depth(1), 1U);
}
