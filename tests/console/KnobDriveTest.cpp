#include <gtest/gtest.h>

#include "console/KnobDrive.h"
#include "tests/support/LinkFixture.h"
#include "tests/support/ModelRecords.h"

// What a knob's turn sends, on the real link against a scripted unit 1.

namespace {

class KnobDriveTest : public LinkFixture {
  protected:
    void SetUp() override {
        LinkFixture::SetUp();
        g_currentUnitAddress = 0x10;
    }
    KnobDrive drive;
};

TEST(KnobDrive, DragTicksTurnByTheSquareOfTheDeflection) {
    const ParamRecord plain = MakeParam("Gain", 0, 0, 100, 0, 100, 0);
    const ParamRecord stepped = MakeParam("Steps", kFlagStepped, 0, 9, 0, 9, 0);
    const int deflections[] = {-5, -2, -1, 0, 1, 3, 5};
    const int squares[] = {-25, -4, -1, 0, 1, 9, 25};
    const int steps[] = {-1, -1, -1, 0, 1, 1, 1};
    for (size_t i = 0; i < std::size(deflections); ++i) {
        EXPECT_EQ(KnobDrive::DragAmount(plain, deflections[i]), squares[i]);
        EXPECT_EQ(KnobDrive::DragAmount(stepped, deflections[i]), steps[i]);
    }
}

TEST_F(KnobDriveTest, OrdinaryTurnsGoToTheUnitAsSixteenBitsAndTheAnswerSetsTheValue) {
    ParamRecord& gain = g_paramTable[0x17] = MakeParam("Gain", 0, 0, 1000, 0, 100, 275);
    gain.number = 0x17;
    peer.AnswerPacket(0x10, 0x04, {0x17, 0x01, 0x2C});
    EXPECT_EQ(drive.Turn(gain, 25, KnobTurn::Drag), KnobDrive::Effect::Turned);
    peer.AnswerPacket(0x10, 0x04, {});
    drive.Turn(gain, -25, KnobTurn::Steps);
    peer.Silence();
    drive.Turn(gain, 4, KnobTurn::Drag);
    ASSERT_EQ(peer.Requests().size(), 3u);
    EXPECT_EQ(peer.Requests()[0], (std::vector<uint8_t>{0x12, 0x04, 0x81, 0x17, 0x00, 0x19, 0xB5}));
    EXPECT_EQ(peer.Requests()[1], (std::vector<uint8_t>{0x12, 0x04, 0x81, 0x17, 0xFF, 0xE7, 0x82}));
    EXPECT_EQ(gain.value, 300) << "the unit's answer moved it; a silent unit leaves it";
}

TEST_F(KnobDriveTest, CoarseParametersBuildStepsFromTicksAndTakeWholeStepsAtOnce) {
    ParamRecord& source = g_paramTable[12] = MakeParam("Source", kFlagCoarse, 0, 8, 0, 8, 2);
    source.number = 12;
    for (int tick = 1; tick <= 4; ++tick) {
        drive.Turn(source, 16, KnobTurn::Drag);
    }
    EXPECT_TRUE(peer.Requests().empty());
    EXPECT_EQ(drive.StepAccumulator(), 64);
    peer.AnswerPacket(0x10, 0x04, {});
    drive.Turn(source, 16, KnobTurn::Drag);
    peer.AnswerPacket(0x10, 0x04, {});
    drive.Turn(source, -3, KnobTurn::Steps);
    ASSERT_EQ(peer.Requests().size(), 2u);
    EXPECT_EQ(peer.Requests()[0][4], 0x00);
    EXPECT_EQ(peer.Requests()[0][5], 0x01) << "one step once the ticks pass 64";
    EXPECT_EQ(peer.Requests()[1][5], 0xFD) << "a key's turn is whole steps";
    EXPECT_EQ(drive.StepAccumulator(), 0);
}

TEST_F(KnobDriveTest, TimecodesAndSteppedParametersMoveOnThePanelWithinTheirRange) {
    ParamRecord frameTime = MakeParam("Frame Time", kFlagTimecode, 0, 0, 0, 0, 20);
    EXPECT_EQ(drive.Turn(frameTime, -25, KnobTurn::Drag), KnobDrive::Effect::Turned);
    EXPECT_EQ(frameTime.value, 0);
    frameTime.value = 32760;
    drive.Turn(frameTime, 25, KnobTurn::Drag);
    EXPECT_EQ(frameTime.value, 32767) << "saturates instead of wrapping to zero";

    ParamRecord stepped = MakeParam("Wipe", kFlagStepped, 2, 6, 2, 6, 5);
    EXPECT_EQ(drive.Turn(stepped, 1, KnobTurn::Drag), KnobDrive::Effect::Stepped);
    drive.Turn(stepped, 1, KnobTurn::Drag);
    EXPECT_EQ(stepped.value, 6);
    drive.Turn(stepped, -40, KnobTurn::Steps);
    EXPECT_EQ(stepped.value, 2);
    EXPECT_EQ(drive.Turn(stepped, 0, KnobTurn::Drag), KnobDrive::Effect::None);
    drive.Turn(stepped, 32767, KnobTurn::Steps);
    EXPECT_EQ(stepped.value, 6) << "stops at the end, never wraps round";
    EXPECT_TRUE(peer.Requests().empty());
}

}  // namespace
