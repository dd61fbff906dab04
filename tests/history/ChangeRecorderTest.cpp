// The change recorder on the link's bytes: requests that change a unit become changes with
// their old and new values, turns of one parameter in a row one change, reads and queries
// nothing; and the undo history keeps the last fifty steps of each unit.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "actions/OriginScope.h"
#include "history/ChangeRecorder.h"
#include "history/RequestChanges.h"
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

TEST(RequestChangesTest, WritesAreChangesAndReadsAreNot) {
    const std::vector<std::pair<std::vector<uint8_t>, std::string>> changes = {
        {{0xBF, 0x00, 0x07}, "delete user file"},
        {{0x93, 0x05}, "load main file"},
        {{0xCD, 0x00, 0x09, 0x00}, "save user file"},
        {{0xB8, 0x12, 0x01}, "on-air lock-out"},
        {{0xB4, 0x01, 0x02, 0x01, 0x01, 0x00, 0x05}, "GPI event"},
        {{0xB0, 0xFF, 0x01}, "effect"},
        {{0xB0, 0x03, 0x00}, "effect"},
        {{0xB2, 0x03, 0x02, 0x04}, "keyframe"},
        {{0xEA}, "update file system"},
    };
    for (const auto& [payload, control] : changes) {
        const std::optional<RequestChange> change = DecodeRequest(payload);
        ASSERT_TRUE(change) << control;
        EXPECT_EQ(change->control, control);
    }
    const std::vector<std::vector<uint8_t>> reads = {
        {0xC0},
        {0xAC},
        {0xAE},
        {0xB0, 0x03, 0x02},
        {0xB1, 0x03, 0x02},
        {0xB2, 0x03, 0x01, 0x02},
        {0xA8, 0x81, 0xFF},
        {0xA8, 0x05},
        {0x81, 0x05},
        {0xB9},
        {0xC2},
        {},
    };
    for (const auto& payload : reads) {
        EXPECT_FALSE(DecodeRequest(payload)) << (payload.empty() ? -1 : payload[0]);
    }
    // An update list cut short gives only its whole entries.
    const std::vector<uint8_t> updates = {3, 0x01, 0x02, 0x82, 7, 5, 0x01};
    EXPECT_EQ(UpdatedValue(updates, 3), 0x0102);
    EXPECT_EQ(UpdatedValue(updates, 0x82), 7);
    EXPECT_FALSE(UpdatedValue(updates, 5));
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

TEST(OriginScopeTest, ScopesNestAndWithoutOneTheWindowsLastInputCounts) {
    EXPECT_EQ(OriginScope::Current().source, ActionSource::Mouse);
    OriginScope::SetWindowInput(ActionSource::Keyboard);
    EXPECT_EQ(OriginScope::Current().source, ActionSource::Keyboard);
    {
        const OriginScope network({ActionSource::Network, "127.0.0.1:4000"});
        {
            const OriginScope surface({ActionSource::Surface, "bank 1"});
            EXPECT_EQ(OriginScope::Current().client, "bank 1");
        }
        EXPECT_EQ(OriginScope::Current().source, ActionSource::Network);
        EXPECT_EQ(OriginScope::Current().client, "127.0.0.1:4000");
    }
    EXPECT_EQ(OriginScope::Current().source, ActionSource::Keyboard);
    EXPECT_TRUE(OriginScope::Current().client.empty());
    OriginScope::SetWindowInput(ActionSource::Mouse);
}
