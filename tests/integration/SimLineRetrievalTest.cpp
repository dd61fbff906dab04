#include <gtest/gtest.h>

#include "link/LockoutCommands.h"
#include "link/UnitCommands.h"
#include "sim/line/SimLine.h"
#include "sim/models/MenuImageBuilder.h"
#include "sim/models/ModelCatalog.h"
#include "tests/support/LinkFixture.h"
#include "unit/MenuImageDownload.h"
#include "unit/MenuImageParser.h"
#include "unit/PollHandler.h"

namespace {

// The commands, the presence poll and the whole menu retrieval against simulated units.
class SimLineRetrievalTest : public LinkFixture {
  protected:
    void SetUp() override {
        LinkFixture::SetUp();
        ResetOnAirLockTables();
        UsePeer(&sim);
    }
    void TearDown() override {
        ResetOnAirLockTables();
        LinkFixture::TearDown();
    }

    // Puts a unit of `code` at `number`, selects it and identifies it as the panel does.
    SimUnit& Select(int number, int code) {
        SimUnit* unit = sim.AddUnit(number, code);
        g_currentUnitAddress = static_cast<uint8_t>(number << 4);
        EXPECT_EQ(IdentifySelectedUnit(), Status::Ok);
        return *unit;
    }

    SimLine sim;
};

TEST_F(SimLineRetrievalTest, EveryModelDownloadsAndParsesWhole) {
    for (uint8_t code : KnownModelCodes()) {
        SCOPED_TRACE(int{code});
        Select(1, code);
        EXPECT_EQ(g_unitStatus[kStatusByteModel], code);
        ASSERT_EQ(DownloadMenuImage(1), Status::Ok);
        const std::vector<uint8_t> built = BuildModelImage(*FindModel(code));
        const auto& block = g_panelModel.MenuImage(1);
        EXPECT_TRUE(std::equal(built.begin(), built.end(), block.begin()));
        EXPECT_EQ(ParseMenuImage(1), MenuImageWalk::Complete);
        EXPECT_EQ(g_extendedMenus, code == 4 && FindMenu(*FindModel(code), 40) != nullptr);
        EXPECT_EQ(g_functionTable[130].label, "Run");
        EXPECT_EQ(g_unitStatus[kStatusByteCode], 0x40);
    }
}

TEST_F(SimLineRetrievalTest, ModelRulesApplyAfterParsing) {
    Select(1, 7);
    ASSERT_EQ(DownloadMenuImage(1), Status::Ok);
    ASSERT_EQ(ParseMenuImage(1), MenuImageWalk::Complete);
    EXPECT_FALSE(g_extendedMenus);
    const ParamDef* wipe = FindParam(*FindModel(7), 93);
    ASSERT_NE(wipe, nullptr);
    EXPECT_NE(g_paramTable[93].flags & kFlagStepped, 0);
    EXPECT_EQ(g_paramTable[93].rawMax, wipe->dispMax);
    // The timing parameter steps through its display range, which runs below zero.
    EXPECT_NE(g_paramTable[94].flags & kFlagStepped, 0);
    EXPECT_EQ(g_paramTable[94].rawMin, -64);
    for (int menu : {26, 28}) {
        if (FindMenu(*FindModel(7), menu) != nullptr) {
            EXPECT_EQ(g_menuTable[menu].entry[3], 255);
            EXPECT_EQ(g_menuTable[menu].entry[4], 255);
        }
    }
}

TEST_F(SimLineRetrievalTest, LockOutStateComesFromTheUnitInEitherOrder) {
    for (int code : {11, 4}) {
        SCOPED_TRACE(code);
        SimUnit& unit = Select(2, code);
        ASSERT_TRUE(unit.SetLockState(5, kLockStateLocked));
        ASSERT_TRUE(unit.SetLockState(130, kLockStateLocked));
        ASSERT_EQ(DownloadMenuImage(2), Status::Ok);
        ParseMenuImage(2);
        EXPECT_NE(g_paramTable[5].flags & kFlagOnAirLocked, 0);
        EXPECT_EQ(g_paramTable[6].flags & kFlagOnAirLocked, 0);
        EXPECT_NE(g_functionTable[2].flags & kFlagOnAirLocked, 0);
        EXPECT_EQ(g_functionTable[1].flags & kFlagOnAirLocked, 0);
    }
}

TEST_F(SimLineRetrievalTest, ValueReadsMatchTheUnit) {
    SimUnit& unit = Select(1, 11);
    unit.SetReference(7, 1234);
    ASSERT_EQ(ReadReferenceValues(), Status::Ok);
    ASSERT_EQ(ReadParameterValues(), Status::Ok);
    for (int number = 0; number < 128; ++number) {
        ASSERT_EQ(g_paramTable[number].value, static_cast<int16_t>(unit.Value(number))) << number;
        ASSERT_EQ(g_paramTable[number].referenceValue,
                  static_cast<int16_t>(unit.Reference(number)));
    }
    for (int number = 128; number < 256; ++number) {
        ASSERT_EQ(g_functionTable[number - 128].value, unit.Value(number)) << number;
    }
    EXPECT_EQ(g_paramTable[7].referenceValue, 1234);
}

TEST_F(SimLineRetrievalTest, ChangesComeBackAsUpdateLists) {
    SimUnit& unit = Select(1, 11);
    ASSERT_EQ(ReadParameterValues(), Status::Ok);
    // Parameter 101 moves 59, 60 and 61 with it; the update list carries all four.
    ASSERT_EQ(AdjustParameter(101, 3), Status::Ok);
    for (int number : {101, 59, 60, 61}) {
        EXPECT_EQ(g_paramTable[number].value, static_cast<int16_t>(unit.Value(number))) << number;
    }
    ASSERT_EQ(SetParameterWord(114, 25), Status::Ok);
    EXPECT_EQ(g_paramTable[114].value, unit.Value(114));
    ASSERT_EQ(SetParameterByte(130, 1), Status::Ok);
    EXPECT_EQ(g_functionTable[2].value, 1);
    EXPECT_EQ(unit.Value(130), 1);
}

TEST_F(SimLineRetrievalTest, TextsAndReplies) {
    SimUnit& unit = Select(3, 80);
    std::string label;
    ASSERT_EQ(ReadSettingsLabel(label), Status::Ok);
    EXPECT_EQ(label, unit.SettingsLabel());

    unit.PostMessage(100, "Reference lost");
    ASSERT_EQ(ReadUnitMessage(), Status::Ok);
    EXPECT_EQ(g_unitMessage, "Reference lost");

    ASSERT_EQ(SendUnitReply(ReplyKind::QuestionAnswer, 2), Status::Ok);
    ASSERT_FALSE(unit.Replies().empty());
    EXPECT_EQ(unit.Replies().back(), (std::pair<uint8_t, uint8_t>{11, 2}));

    uint8_t info[kVersionInfoSize];
    ASSERT_EQ(ReadVersionInfo(info), Status::Ok);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(info)), unit.VersionText());
}

TEST_F(SimLineRetrievalTest, RelayedFramesReachTheSelectedUnit) {
    Select(4, 9);
    const uint8_t packet[kMaxRequestSize] = {0x00, 0x01, 0xC0, 0x00};
    AnswerBuffer answer;
    ASSERT_EQ(RelayPacket(packet, answer), Status::Ok);
    EXPECT_EQ(answer[kAnswerCode], 0x40);
    EXPECT_EQ(answer[kAnswerData + 2], 9);
}

TEST_F(SimLineRetrievalTest, ThePollFindsUnitsAndLosesASwitchedOffOne) {
    sim.AddUnit(1, 11);
    SimUnit* third = sim.AddUnit(3, 4);
    CPollHandler poll;
    poll.SetLampBits(g_panelModel.m_lampBits);
    for (int unit = 1; unit <= 4; ++unit) {
        EXPECT_TRUE(poll.Poll(CPollHandler::kForceChange));
    }
    EXPECT_EQ(g_panelModel.m_lampBits[1] & 1, 1);
    EXPECT_EQ(g_panelModel.m_lampBits[2] & 1, 0);
    EXPECT_EQ(g_panelModel.m_lampBits[3] & 1, 1);
    EXPECT_EQ(poll.StatusOf(3)[kStatusByteModel], 4);

    third->SetPower(false);
    int changes = 0;
    for (int tick = 0; tick < 4 * 5; ++tick) {
        changes += poll.Poll(0);
    }
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(g_panelModel.m_lampBits[3] & 1, 0);
    EXPECT_EQ(g_panelModel.m_lampBits[1] & 1, 1);
}

TEST_F(SimLineRetrievalTest, ASilentUnitOrAnEndlessImageFailsTheDownload) {
    SimUnit& unit = Select(1, 11);
    unit.SetPower(false);
    EXPECT_EQ(DownloadMenuImage(1), Status::NoAnswer);
    EXPECT_EQ(line.BreakCount(), 22);

    unit.SetPower(true);
    unit.Faults().Set(FaultKind::Oversized, 0);
    EXPECT_NE(DownloadMenuImage(1), Status::Ok);
    EXPECT_FALSE(g_panelModel.IsImageLoaded(1));
}

}  // namespace
