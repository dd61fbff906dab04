#include <gtest/gtest.h>

#include "link/LockoutCommands.h"
#include "tests/support/LinkFixture.h"
#include "unit/OnAirLockout.h"

namespace {

class OnAirLockoutTest : public LinkFixture {
  protected:
    void SetUp() override {
        LinkFixture::SetUp();
        ResetOnAirLockTables();
        g_currentUnitAddress = 0x10;
    }
    void TearDown() override {
        ResetOnAirLockTables();
        LinkFixture::TearDown();
    }
};

TEST_F(OnAirLockoutTest, OnlyTheValueTwoUnlocks) {
    g_onAirLockTable[kKnobLockTable][0] = 1;
    g_onAirLockTable[kKnobLockTable][1] = 0;
    g_onAirLockTable[kKnobLockTable][2] = 2;
    g_onAirLockTable[kKnobLockTable][3] = 3;
    g_paramTable[2].flags = 0x2008;
    g_functionTable[127].flags = 0x0001;
    g_onAirLockTable[kFunctionLockTable][127] = 9;
    ApplyLockTablesToRecords();
    EXPECT_EQ(g_paramTable[0].flags, 0x2000);
    EXPECT_EQ(g_paramTable[1].flags, 0x2000);
    EXPECT_EQ(g_paramTable[2].flags, 0x0008);
    EXPECT_EQ(g_paramTable[3].flags, 0x2000);
    EXPECT_EQ(g_functionTable[127].flags, 0x2001);
}

TEST_F(OnAirLockoutTest, RecordsWithoutATableEntryAreLeftAlone) {
    g_onAirLockTable[kKnobLockTable][127] = 1;
    g_onAirLockTable[kFunctionLockTable][0] = 1;
    ApplyLockTablesToRecords();
    EXPECT_EQ(g_paramTable[128].flags, 0);  // the empty knob position
    for (int offset = 128; offset < kFunctionCount; ++offset) {
        EXPECT_EQ(g_functionTable[offset].flags, 0) << offset;
    }
}

TEST_F(OnAirLockoutTest, ApplyReadsTheUnitFirst) {
    std::vector<uint8_t> knobs(128, 2);
    knobs[10] = 1;
    peer.AnswerPacket(0x10, 0x02, knobs);
    peer.AnswerPacket(0x10, 0x02, std::vector<uint8_t>(128, 1));
    EXPECT_EQ(ApplyOnAirLockout(), Status::Ok);
    EXPECT_EQ(g_paramTable[10].flags, 0x2000);
    EXPECT_EQ(g_paramTable[11].flags, 0);
    EXPECT_EQ(g_functionTable[5].flags, 0x2000);
}

TEST_F(OnAirLockoutTest, ASilentUnitLeavesTheLastReportedState) {
    g_onAirLockTable[kKnobLockTable][4] = 1;
    EXPECT_EQ(ApplyOnAirLockout(), Status::NoAnswer);
    EXPECT_EQ(g_paramTable[4].flags, 0x2000);
    EXPECT_EQ(g_paramTable[5].flags, 0);
}

}  // namespace
