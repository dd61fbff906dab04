#include <gtest/gtest.h>

#include "link/LockoutCommands.h"
#include "tests/link/CommandsTestSupport.h"

namespace {

class LockoutCommandsTest : public CommandsTest {
  protected:
    void SetUp() override {
        CommandsTest::SetUp();
        ResetOnAirLockTables();
    }
    void TearDown() override {
        ResetOnAirLockTables();
        CommandsTest::TearDown();
    }

    // A table answer whose entry k is `base` + k (modulo 256), 128 entries.
    void AnswerTable(uint8_t base, uint8_t code = 0x02) {
        peer.AnswerPacket(0x10, code, Ramp(kLockTableSize, base));
    }
};

TEST_F(LockoutCommandsTest, NothingIsLockedBeforeAUnitReports) {
    for (const auto& table : g_onAirLockTable) {
        for (uint8_t entry : table) {
            ASSERT_EQ(entry, kLockStateUnlocked);
        }
    }
}

TEST_F(LockoutCommandsTest, KnobTableFirstForMostModels) {
    g_unitStatus[kStatusByteModel] = 11;
    AnswerTable(0);
    AnswerTable(100);
    EXPECT_EQ(ReadOnAirLockout(), Status::Ok);
    ASSERT_EQ(RequestCount(), 2u);
    EXPECT_EQ(Request(0), (std::vector<uint8_t>{0x12, 0x01, 0xB9, 0xBA}));
    EXPECT_EQ(Request(1), Request(0));
    EXPECT_EQ(g_onAirLockTable[kKnobLockTable][5], 5);
    EXPECT_EQ(g_onAirLockTable[kKnobLockTable][127], 127);
    EXPECT_EQ(g_onAirLockTable[kFunctionLockTable][0], 100);
}

TEST_F(LockoutCommandsTest, ModelFourSendsTheFunctionTableFirst) {
    g_unitStatus[kStatusByteModel] = 4;
    AnswerTable(0);
    AnswerTable(100);
    EXPECT_EQ(ReadOnAirLockout(), Status::Ok);
    EXPECT_EQ(g_onAirLockTable[kFunctionLockTable][5], 5);
    EXPECT_EQ(g_onAirLockTable[kKnobLockTable][0], 100);
}

TEST_F(LockoutCommandsTest, AWrongCodeStopsAndKeepsTheOtherTable) {
    AnswerTable(0);
    AnswerTable(100, 0x03);
    EXPECT_EQ(ReadOnAirLockout(), Status::WrongCode);
    EXPECT_EQ(g_onAirLockTable[kKnobLockTable][9], 9);
    EXPECT_EQ(g_onAirLockTable[kFunctionLockTable][9], kLockStateUnlocked);

    AnswerTable(50, 0x00);
    EXPECT_EQ(ReadOnAirLockout(), Status::WrongCode);
    EXPECT_EQ(RequestCount(), 3u);
    EXPECT_EQ(g_onAirLockTable[kKnobLockTable][9], 9);
}

TEST_F(LockoutCommandsTest, AShortTableIsRefusedAndChangesNothing) {
    g_unitStatus[kStatusByteModel] = 11;
    peer.AnswerPacket(0x10, 0x02, Ramp(kLockTableSize - 1, 0));
    EXPECT_EQ(ReadOnAirLockout(), Status::WrongLength);
    EXPECT_EQ(RequestCount(), 1u);
    EXPECT_EQ(g_onAirLockTable[kKnobLockTable][0], kLockStateUnlocked);
    EXPECT_EQ(g_onAirLockTable[kKnobLockTable][127], kLockStateUnlocked);
}

TEST_F(LockoutCommandsTest, ASilentUnitChangesNothing) {
    EXPECT_EQ(ReadOnAirLockout(), Status::NoAnswer);
    EXPECT_EQ(RequestCount(), 1u);
    EXPECT_EQ(g_onAirLockTable[kKnobLockTable][0], kLockStateUnlocked);
}

}  // namespace
