#include <gtest/gtest.h>

#include <string>

#include "link/UnitCommands.h"
#include "tests/link/CommandsTestSupport.h"

namespace {

using UnitCommandsTest = CommandsTest;

const std::vector<uint8_t> kStatusData{0x41, 0x00, 0x0B, 0x07, 0x01, 0x02, 0x03, 0x04, 0x05};

TEST_F(UnitCommandsTest, IdentifyUnitNamesItsUnitAndKeepsTwelveBytes) {
    peer.AnswerPacket(0x30, 0x40, {0x41, 0x00, 0x0B, 0x07, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06});
    UnitStatus status{};
    EXPECT_EQ(IdentifyUnit(0x30, status), Status::Ok);
    EXPECT_EQ(Request(0), (std::vector<uint8_t>{0x32, 0x01, 0xC0, 0xC1}));
    const UnitStatus expected{0x30, 0x0B, 0x40, 0x41, 0x00, 0x0B,
                              0x07, 0x01, 0x02, 0x03, 0x04, 0x05};
    EXPECT_EQ(status, expected);
}

TEST_F(UnitCommandsTest, IdentifyUnitReportsAnotherCodeAsWriteFailureAndClearsTheStatus) {
    UnitStatus status;
    status.fill(0xAA);
    peer.AnswerPacket(0x10, 0x41, kStatusData);
    EXPECT_EQ(IdentifyUnit(0x10, status), Status::WriteFailed);
    EXPECT_EQ(status, UnitStatus{});
}

TEST_F(UnitCommandsTest, AnAbsentUnitCostsAboutTenReads) {
    UnitStatus status;
    status.fill(0xAA);
    const uint32_t before = CurrentClock().TickCount();
    EXPECT_EQ(IdentifyUnit(0x20, status), Status::NoAnswer);
    const uint32_t spent_ms = CurrentClock().TickCount() - before;
    EXPECT_EQ(spent_ms, 220u);  // one read draining the line, then ten reads of 20 ms
    EXPECT_EQ(status, UnitStatus{});
}

TEST_F(UnitCommandsTest, IdentifyUnitAcceptsTheNinthReadButNotTheTenth) {
    UnitStatus status{};
    peer.AnswerPacket(0x10, 0x40, kStatusData, DelayForRead(9));
    EXPECT_EQ(IdentifyUnit(0x10, status), Status::Ok);
    peer.AnswerPacket(0x10, 0x40, kStatusData, DelayForRead(10));
    EXPECT_EQ(IdentifyUnit(0x10, status), Status::NoAnswer);
}

TEST_F(UnitCommandsTest, IdentifySelectedUnitFillsTheProgramWideStatus) {
    g_currentUnitAddress = 0x40;
    peer.AnswerPacket(0x40, 0x40, kStatusData);
    EXPECT_EQ(IdentifySelectedUnit(), Status::Ok);
    EXPECT_EQ(Request(0)[0], 0x42);
    EXPECT_EQ(g_unitStatus[kStatusByteModel], 0x0B);
}

TEST_F(UnitCommandsTest, RepeatedIdentifyStopsAtTheFirstAnswer) {
    peer.Silence();
    peer.AnswerPacket(0x10, 0x33, kStatusData);
    peer.AnswerPacket(0x10, 0x40, kStatusData);
    EXPECT_EQ(IdentifySelectedUnitRepeatedly(1000), Status::Ok);
    EXPECT_EQ(RequestCount(), 3u);
    EXPECT_EQ(g_unitStatus[kStatusByteModel], 0x0B);

    ResetProgramState();
    g_currentUnitAddress = 0x10;
    EXPECT_EQ(IdentifySelectedUnitRepeatedly(3), Status::NoAnswer);
}

TEST_F(UnitCommandsTest, SettingsLabelStartsAtDataTwoAndEndsAtZero) {
    peer.AnswerPacket(0x10, 0x00, {0x01, 0x02, 'K', 'e', 'y', 0x00, 'X'});
    std::string text = "old";
    EXPECT_EQ(ReadSettingsLabel(text), Status::Ok);
    EXPECT_EQ(Request(0), (std::vector<uint8_t>{0x12, 0x01, 0xB6, 0xB7}));
    EXPECT_EQ(text, "Key");
}

TEST_F(UnitCommandsTest, TextsWithoutTheirZeroEndWithTheData) {
    peer.AnswerPacket(0x10, 0x00, {0x01, 0x02, 'A', 'B'});
    std::string text;
    EXPECT_EQ(ReadSettingsLabel(text), Status::Ok);
    EXPECT_EQ(text, "AB");  // not the checksum behind it
    peer.AnswerPacket(0x10, 0x21, {'H', 'i'});
    EXPECT_EQ(ReadUnitMessage(), Status::Ok);
    EXPECT_EQ(g_unitMessage, "Hi");
}

TEST_F(UnitCommandsTest, TextsKeepTheirOldValueOnAWrongCode) {
    std::string text = "old";
    peer.AnswerPacket(0x10, 0x01, {0x01, 0x02, 'A', 0x00});
    EXPECT_EQ(ReadSettingsLabel(text), Status::WrongCode);
    EXPECT_EQ(text, "old");
    g_unitMessage = "kept";
    peer.AnswerPacket(0x10, 0x20, {'A', 0x00});
    EXPECT_EQ(ReadUnitMessage(), Status::WrongCode);
    EXPECT_EQ(g_unitMessage, "kept");
}

TEST_F(UnitCommandsTest, UnitMessageReadsFromDataZero) {
    peer.AnswerPacket(0x10, 0x21, {'L', 'o', 'w', ' ', 'b', 'a', 't', 0x00, 'Z'});
    EXPECT_EQ(ReadUnitMessage(), Status::Ok);
    EXPECT_EQ(Request(0), (std::vector<uint8_t>{0x12, 0x01, 0xB5, 0xB6}));
    EXPECT_EQ(g_unitMessage, "Low bat");
}

TEST_F(UnitCommandsTest, UnitReplyCarriesKindAndValue) {
    peer.AnswerPacket(0x10, 0x05, {});
    EXPECT_EQ(SendUnitReply(ReplyKind::QuestionAnswer, 2), Status::Ok);
    EXPECT_EQ(Request(0), (std::vector<uint8_t>{0x12, 0x03, 0x9E, 0x0B, 0x02, 0xAE}));
    peer.AnswerPacket(0x10, 0x04, {});
    EXPECT_EQ(SendUnitReply(ReplyKind::Acknowledge, 1), Status::WrongCode);
}

TEST_F(UnitCommandsTest, VersionInfoAcceptsAnyCodeAndCopiesOnlyTheData) {
    uint8_t info[kVersionInfoSize];
    std::fill(std::begin(info), std::end(info), 0xEE);
    peer.AnswerPacket(0x10, 0x77, {0x02, 'v', '1'});
    EXPECT_EQ(ReadVersionInfo(info), Status::Ok);
    EXPECT_EQ(Request(0), (std::vector<uint8_t>{0x12, 0x01, 0xAB, 0xAC}));
    EXPECT_EQ(info[0], 0x02);
    EXPECT_EQ(info[2], '1');
    for (int k = 3; k < kVersionInfoSize; ++k) {
        ASSERT_EQ(info[k], 0) << k;
    }
}

TEST_F(UnitCommandsTest, VersionInfoOfAFullAnswerAndOfASilentUnit) {
    uint8_t info[kVersionInfoSize];
    peer.AnswerPacket(0x10, 0x00, Ramp(254, 1));
    EXPECT_EQ(ReadVersionInfo(info), Status::Ok);
    EXPECT_EQ(info[253], 254);
    EXPECT_EQ(info[254], 0);

    std::fill(std::begin(info), std::end(info), 0xEE);
    EXPECT_EQ(ReadVersionInfo(info), Status::NoAnswer);
    for (uint8_t byte : info) {
        ASSERT_EQ(byte, 0);
    }
}

TEST_F(UnitCommandsTest, RelayForwardsLengthAndPayloadWithAFreshChecksum) {
    const uint8_t packet[] = {0x99, 0x02, 0xAB, 0x07, 0xEE};
    AnswerBuffer answer;
    peer.AnswerPacket(0x10, 0x13, {0x01, 0x02});
    EXPECT_EQ(RelayPacket(packet, answer), Status::Ok);
    EXPECT_EQ(Request(0), (std::vector<uint8_t>{0x12, 0x02, 0xAB, 0x07, 0xB4}));
    const std::vector<uint8_t> expected = MakeAnswer(0x10, 0x13, {0x01, 0x02});
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), answer.begin()));
    EXPECT_EQ(answer[expected.size()], 0);

    // A packet that ends before its L says is not sent.
    answer.fill(0x55);
    EXPECT_EQ(RelayPacket(std::span(packet).first(3), answer), Status::WriteFailed);
    EXPECT_EQ(RequestCount(), 1u);
    EXPECT_EQ(answer, AnswerBuffer{});
}

TEST_F(UnitCommandsTest, RelayOfAFullPacketAndASlowUnit) {
    uint8_t packet[kMaxRequestSize] = {0x99, 0xFF};
    for (int i = 0; i < 255; ++i) {
        packet[2 + i] = 0x01;
    }
    AnswerBuffer answer;
    peer.AnswerPacket(0x10, 0x13, {}, 30000);
    EXPECT_EQ(RelayPacket(packet, answer), Status::Ok);
    ASSERT_EQ(Request(0).size(), 258u);
    EXPECT_EQ(Request(0).back(), 0xFE);  // 255 + 255 ones, modulo 256
    EXPECT_EQ(answer[kAnswerCode], 0x13);
}

TEST_F(UnitCommandsTest, RelayLeavesTheAnswerZeroWhenTheUnitIsSilent) {
    uint8_t packet[kMaxRequestSize] = {0x99, 0x01, 0xC0, 0xC1};
    AnswerBuffer answer;
    answer.fill(0x55);
    peer.Answer({0x10});  // a first byte and nothing more
    EXPECT_EQ(RelayPacket(packet, answer), Status::NoLength);
    for (uint8_t byte : answer) {
        ASSERT_EQ(byte, 0);
    }
}

TEST_F(UnitCommandsTest, PanelKeysNeverTouchTheLink) {
    std::fill(std::begin(g_panelKeys), std::end(g_panelKeys), 0x11);
    const uint32_t before = CurrentClock().TickCount();
    EXPECT_EQ(ReadPanelKeys(), Status::WriteFailed);
    EXPECT_TRUE(line.Written().empty());
    EXPECT_EQ(CurrentClock().TickCount(), before);
    for (uint8_t byte : g_panelKeys) {
        ASSERT_EQ(byte, 0);
    }
}

}  // namespace
