// The change recorder on the link's bytes: requests that change a unit become changes with
// their old and new values, turns of one parameter in a row one change, reads and queries
// nothing; and the undo history keeps the last fifty steps of each unit.
#include <gtest/gtest.h>

#include <vector>

#include "actions/OriginScope.h"
#include "history/ChangeRecorder.h"
#include "history/UndoHistory.h"
#include "history/ValueText.h"
#include "platform/Clock.h"

namespace {

class ChangeRecorderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProgramState();
        g_currentUnitAddress = AddressOfUnit(1);
        ParamRecord& clip = g_paramTable[3];
        clip.name = "Clip";
        clip.rawMax = 200;
        clip.dispMin = -100;
        clip.dispMax = 100;
        clip.value = 100;
    }
    void TearDown() override { ResetProgramState(); }

    // One request to unit 1 and, unless `answered` is false, its answer with code 04 and the
    // update list `updates`.
    void Exchange(const std::vector<uint8_t>& payload, const std::vector<uint8_t>& updates,
                  bool answered = true) {
        Send(TraceDirection::Sent,
             {static_cast<uint8_t>(AddressOfUnit(1) | 0x02), static_cast<uint8_t>(payload.size())});
        Send(TraceDirection::Sent, payload);
        Send(TraceDirection::Sent, {0});
        if (answered) {
            Send(TraceDirection::Received,
                 {AddressOfUnit(1), static_cast<uint8_t>(updates.size() + 1), 0x04});
            Send(TraceDirection::Received, updates);
            Send(TraceDirection::Received, {0});
        }
    }
    void Send(TraceDirection direction, const std::vector<uint8_t>& bytes) {
        for (const uint8_t byte : bytes) {
            recorder.OnByte(direction, byte);
        }
    }

    ScopedVirtualClock time{1000};
    ChangeRecorder recorder;
};

}  // namespace

TEST_F(ChangeRecorderTest, TurnsInARowMakeOneChangeAndReadsMakeNone) {
    const OriginScope surface({ActionSource::Surface, "bank 2"});
    for (int turn = 1; turn <= 3; ++turn) {
        Exchange({0x81, 3, 0, 10}, {3, 0, static_cast<uint8_t>(100 + 10 * turn)});
        time.clock.Advance(100);
    }
    Exchange({0xAC}, {});            // a read of the values
    Exchange({0xA8, 130, 255}, {});  // a function's value asked for
    EXPECT_TRUE(recorder.Collect().empty()) << "the burst may still grow";

    time.clock.Advance(ChangeRecorder::kBurstGap_ms);
    std::vector<UnitChange> changes = recorder.Collect();
    ASSERT_EQ(changes.size(), 1U);
    EXPECT_EQ(changes[0].unit, 1);
    EXPECT_EQ(changes[0].control, "Clip");
    EXPECT_EQ(changes[0].oldValue, 100);
    EXPECT_EQ(changes[0].newValue, 130);
    EXPECT_EQ(changes[0].oldText, ParameterValueText(g_paramTable[3], 100));
    EXPECT_EQ(changes[0].newText, ParameterValueText(g_paramTable[3], 130));
    EXPECT_EQ(changes[0].origin.client, "bank 2");

    // A set value, an unanswered one and a file delete are each a change of their own.
    Exchange({0xA8, 3, 0, 20}, {3, 0, 20});
    Exchange({0xA8, 3, 0, 30}, {}, false);
    Exchange({0xBE, 0x01, 0x02}, {});
    changes = recorder.Collect();
    ASSERT_EQ(changes.size(), 3U);
    EXPECT_EQ(changes[0].newValue, 20);
    EXPECT_EQ(changes[1].newText, "no answer");
    EXPECT_EQ(changes[2].control, "delete main file");
    EXPECT_EQ(changes[2].newText, "file 258");
}

TEST(UndoHistoryTest, KeepsTheLastFiftyStepsOfEachUnitNewestFirst) {
    UndoHistory history;
    for (int i = 0; i < 60; ++i) {
        history.Push(1, {3, i, "Clip"});
    }
    history.Push(2, {4, 7, "Gain"});
    history.Push(9, {4, 7, "Gain"});
    EXPECT_EQ(history.Depth(1), UndoHistory::kDepth);
    EXPECT_EQ(history.Take(1)->oldValue, 59);
    EXPECT_EQ(history.Take(2)->oldValue, 7);
    EXPECT_FALSE(history.Take(2));
    size_t left = 0;
    std::optional<UndoStep> last;
    while (auto step = history.Take(1)) {
        last = step;
        ++left;
    }
    EXPECT_EQ(left, UndoHistory::kDepth - 1);
    EXPECT_EQ(last->oldValue, 10);
}
