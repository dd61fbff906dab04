#include <gtest/gtest.h>

#include "link/ParameterCommands.h"
#include "tests/link/CommandsTestSupport.h"

namespace {

using ParameterCommandsTest = CommandsTest;

AnswerBuffer AnswerWithData(const std::vector<uint8_t>& data) {
    AnswerBuffer answer{};
    const std::vector<uint8_t> bytes = MakeAnswer(0x10, 0x04, data);
    std::copy(bytes.begin(), bytes.end(), answer.begin());
    return answer;
}

TEST(ApplyParameterUpdates, StoresWordAndByteEntries) {
    ResetProgramState();
    const AnswerBuffer answer = AnswerWithData({0x05, 0x01, 0x2C, 0x90, 0x07});
    ApplyParameterUpdates(answer);
    EXPECT_EQ(g_paramTable[5].value, 300);
    EXPECT_EQ(g_functionTable[144 - 128].value, 7);
}

TEST(ApplyParameterUpdates, IgnoresATruncatedLastEntry) {
    ResetProgramState();
    g_paramTable[7].value = 11;
    g_functionTable[0x10].value = 12;
    // A word entry missing its low byte.
    ApplyParameterUpdates(AnswerWithData({0x05, 0x01, 0x2C, 0x07, 0x01}));
    EXPECT_EQ(g_paramTable[5].value, 300);
    EXPECT_EQ(g_paramTable[7].value, 11);
    // A function entry missing its value; the checksum behind it must not be taken for one.
    ApplyParameterUpdates(AnswerWithData({0x90}));
    EXPECT_EQ(g_functionTable[0x10].value, 12);
}

TEST(ApplyParameterUpdates, NegativeWordsAndTheHighestNumbers) {
    ResetProgramState();
    ApplyParameterUpdates(AnswerWithData({0x7F, 0xFF, 0xFE, 0xFF, 0xC8}));
    EXPECT_EQ(g_paramTable[127].value, -2);
    EXPECT_EQ(g_functionTable[127].value, 0xC8);
    // The keyframe functions behind offset 127 are never reached from the wire.
    EXPECT_EQ(g_functionTable[128].value, 0);
}

TEST(ApplyParameterUpdates, EmptyListAndZeroLengthChangeNothing) {
    ResetProgramState();
    g_paramTable[0].value = 9;
    AnswerBuffer zeroLength{};
    zeroLength[kAnswerData] = 0x00;
    zeroLength[kAnswerData + 1] = 0x12;
    ApplyParameterUpdates(zeroLength);
    ApplyParameterUpdates(AnswerWithData({}));
    EXPECT_EQ(g_paramTable[0].value, 9);
}

TEST_F(ParameterCommandsTest, AdjustSendsTheSignedDeltaAndAppliesTheUpdates) {
    peer.AnswerPacket(0x10, 0x04, {0x05, 0x01, 0x2C, 0x90, 0x07});
    EXPECT_EQ(AdjustParameter(5, -1), Status::Ok);
    EXPECT_EQ(Request(0), (std::vector<uint8_t>{0x12, 0x04, 0x81, 0x05, 0xFF, 0xFF, 0x88}));
    EXPECT_EQ(g_paramTable[5].value, 300);
    EXPECT_EQ(g_functionTable[16].value, 7);
}

TEST_F(ParameterCommandsTest, AdjustRejectsAnotherCodeAndKeepsTheTables) {
    peer.AnswerPacket(0x10, 0x05, {0x05, 0x01, 0x2C});
    EXPECT_EQ(AdjustParameter(5, 25), Status::WrongCode);
    EXPECT_EQ(Request(0), (std::vector<uint8_t>{0x12, 0x04, 0x81, 0x05, 0x00, 0x19, 0xA3}));
    EXPECT_EQ(g_paramTable[5].value, 0);
}

TEST_F(ParameterCommandsTest, AdjustWaitsAThousandReads) {
    peer.AnswerPacket(0x10, 0x04, {0x01, 0x00, 0x01}, DelayForRead(999));
    EXPECT_EQ(AdjustParameter(1, 1), Status::Ok);
    EXPECT_EQ(g_paramTable[1].value, 1);
    peer.AnswerPacket(0x10, 0x04, {0x01, 0x00, 0x02}, DelayForRead(1000));
    EXPECT_EQ(AdjustParameter(1, 1), Status::NoAnswer);
    EXPECT_EQ(g_paramTable[1].value, 1);
}

TEST_F(ParameterCommandsTest, SetWordAndSetByteRequests) {
    peer.AnswerPacket(0x10, 0x04, {0x72, 0x01, 0x2C});
    peer.AnswerPacket(0x10, 0x04, {0xD6, 0x01});
    EXPECT_EQ(SetParameterWord(114, 300), Status::Ok);
    EXPECT_EQ(SetParameterByte(214, 1), Status::Ok);
    EXPECT_EQ(Request(0), (std::vector<uint8_t>{0x12, 0x04, 0xA8, 0x72, 0x01, 0x2C, 0x4B}));
    EXPECT_EQ(Request(1), (std::vector<uint8_t>{0x12, 0x03, 0xA8, 0xD6, 0x01, 0x82}));
    EXPECT_EQ(g_paramTable[114].value, 300);
    EXPECT_EQ(g_functionTable[214 - 128].value, 1);
}

TEST_F(ParameterCommandsTest, SetWordWaitsAMinuteSetByteTwentySeconds) {
    peer.AnswerPacket(0x10, 0x04, {}, DelayForRead(2999));
    EXPECT_EQ(SetParameterWord(1, 1), Status::Ok);
    peer.AnswerPacket(0x10, 0x04, {}, DelayForRead(3000));
    EXPECT_EQ(SetParameterWord(1, 1), Status::NoAnswer);
    peer.AnswerPacket(0x10, 0x04, {}, DelayForRead(1000));
    EXPECT_EQ(SetParameterByte(130, 1), Status::NoAnswer);
    peer.AnswerPacket(0x10, 0x06, {});
    EXPECT_EQ(SetParameterByte(130, 1), Status::WrongCode);
}

TEST_F(ParameterCommandsTest, SendParameterByteKeepsTheAnswerAndAppliesOnlyCode04) {
    AnswerBuffer answer{};
    peer.AnswerPacket(0x10, 0x07, {0xA8, 0x05});
    EXPECT_EQ(SendParameterByte(0xA8, 255, kPatience20s, answer), Status::WrongCode);
    EXPECT_EQ(AnswerCode(answer), 0x07);
    EXPECT_EQ(g_functionTable[0x28].value, 0);

    peer.AnswerPacket(0x10, 0x04, {0xA8, 0x05});
    EXPECT_EQ(SendParameterByte(0xA8, 255, kPatience20s, answer), Status::Ok);
    EXPECT_EQ(Request(1), (std::vector<uint8_t>{0x12, 0x03, 0xA8, 0xA8, 0xFF, 0x52}));
    EXPECT_EQ(g_functionTable[0x28].value, 5);
}

TEST_F(ParameterCommandsTest, SendParameterByteNoAnswerOnlyWrites) {
    peer.AnswerPacket(0x10, 0x04, {0xAE, 0x01});
    EXPECT_EQ(SendParameterByteNoAnswer(174, 1), Status::Ok);
    EXPECT_EQ(line.TakeWritten(), (std::vector<uint8_t>{0x12, 0x03, 0xA8, 0xAE, 0x01, 0x5A}));
    EXPECT_EQ(g_functionTable[174 - 128].value, 0);
    EXPECT_EQ(line.PendingToMaster(), 6u);  // the answer is left for the next drain
}

// AC answer data: parameter k holds 1000 + k.
std::vector<uint8_t> ValueWords(int count) {
    std::vector<uint8_t> data;
    for (int k = 0; k < count; ++k) {
        data.push_back(static_cast<uint8_t>((1000 + k) >> 8));
        data.push_back(static_cast<uint8_t>((1000 + k) & 0xFF));
    }
    return data;
}

// AE answer data: parameter 127 = 0x1234, then functions 128..255 = offset + 1.
std::vector<uint8_t> RestValues(size_t functionBytes = 128) {
    std::vector<uint8_t> data{0x12, 0x34};
    for (size_t i = 0; i < functionBytes; ++i) {
        data.push_back(static_cast<uint8_t>(i + 1));
    }
    return data;
}

TEST_F(ParameterCommandsTest, ReadParameterValuesFullAnswers) {
    peer.AnswerPacket(0x10, 0x02, ValueWords(127));
    peer.AnswerPacket(0x10, 0x25, RestValues());
    EXPECT_EQ(ReadParameterValues(), Status::Ok);
    EXPECT_EQ(Request(0), (std::vector<uint8_t>{0x12, 0x01, 0xAC, 0xAD}));
    EXPECT_EQ(Request(1), (std::vector<uint8_t>{0x12, 0x01, 0xAE, 0xAF}));
    EXPECT_EQ(g_paramTable[0].value, 1000);
    EXPECT_EQ(g_paramTable[126].value, 1126);
    EXPECT_EQ(g_paramTable[127].value, 0x1234);
    EXPECT_EQ(g_functionTable[0].value, 1);
    EXPECT_EQ(g_functionTable[127].value, 128);
}

TEST_F(ParameterCommandsTest, ReadParameterValuesShortFormCoversParametersZeroToTwelve) {
    g_paramTable[13].value = -5;
    peer.AnswerPacket(0x10, 0x04, ValueWords(13));
    peer.AnswerPacket(0x10, 0x25, RestValues());
    EXPECT_EQ(ReadParameterValues(), Status::Ok);
    EXPECT_EQ(g_paramTable[12].value, 1012);
    EXPECT_EQ(g_paramTable[13].value, -5);
    EXPECT_EQ(g_paramTable[127].value, 0x1234);
    EXPECT_EQ(RequestCount(), 2u);
}

TEST_F(ParameterCommandsTest, ReadParameterValuesChecksCodeThenLength) {
    peer.AnswerPacket(0x10, 0x03, ValueWords(127));
    EXPECT_EQ(ReadParameterValues(), Status::WrongCode);
    peer.AnswerPacket(0x10, 0x02, ValueWords(13));  // the short length with the long code
    EXPECT_EQ(ReadParameterValues(), Status::WrongLength);
    peer.AnswerPacket(0x10, 0x04, ValueWords(127));
    EXPECT_EQ(ReadParameterValues(), Status::WrongLength);
    EXPECT_EQ(RequestCount(), 3u);  // AE never sent
    EXPECT_EQ(g_paramTable[0].value, 0);
}

TEST_F(ParameterCommandsTest, ReadParameterValuesKeepsTheFirstHalfWhenAeFails) {
    peer.AnswerPacket(0x10, 0x02, ValueWords(127));
    peer.AnswerPacket(0x10, 0x26, RestValues());
    EXPECT_EQ(ReadParameterValues(), Status::WrongCode);
    EXPECT_EQ(g_paramTable[126].value, 1126);
    EXPECT_EQ(g_paramTable[127].value, 0);
    EXPECT_EQ(g_functionTable[0].value, 0);
}

TEST_F(ParameterCommandsTest, ReadParameterValuesIgnoresFunctionBytesBeyondTheTable) {
    g_functionTable[128].value = 77;  // a keyframe function
    peer.AnswerPacket(0x10, 0x02, ValueWords(127));
    peer.AnswerPacket(0x10, 0x25, RestValues(252));  // L = 255
    EXPECT_EQ(ReadParameterValues(), Status::Ok);
    EXPECT_EQ(g_functionTable[127].value, 128);
    EXPECT_EQ(g_functionTable[128].value, 77);
}

TEST_F(ParameterCommandsTest, ReadParameterValuesShortAeStoresWhatItCarries) {
    g_functionTable[5].value = 44;
    peer.AnswerPacket(0x10, 0x02, ValueWords(127));
    peer.AnswerPacket(0x10, 0x25, RestValues(3));
    EXPECT_EQ(ReadParameterValues(), Status::Ok);
    EXPECT_EQ(g_functionTable[2].value, 3);
    EXPECT_EQ(g_functionTable[3].value, 0);  // the checksum byte is not a value
    EXPECT_EQ(g_functionTable[5].value, 44);

    // An AE without even parameter 127 leaves it alone: the buffer still holds the AC
    // answer's words, which are not parameter 127's.
    g_paramTable[127].value = 99;
    peer.AnswerPacket(0x10, 0x02, ValueWords(127));
    peer.AnswerPacket(0x10, 0x25, {0x12});
    EXPECT_EQ(ReadParameterValues(), Status::Ok);
    EXPECT_EQ(g_paramTable[127].value, 99);
    EXPECT_EQ(g_functionTable[2].value, 3);
}

TEST_F(ParameterCommandsTest, ReadReferenceValuesFillsBothHalves) {
    peer.AnswerPacket(0x10, 0x03, ValueWords(127));
    peer.AnswerPacket(0x10, 0x26, RestValues());
    EXPECT_EQ(ReadReferenceValues(), Status::Ok);
    EXPECT_EQ(Request(0), (std::vector<uint8_t>{0x12, 0x01, 0xAD, 0xAE}));
    EXPECT_EQ(Request(1), (std::vector<uint8_t>{0x12, 0x01, 0xAF, 0xB0}));
    EXPECT_EQ(g_paramTable[0].referenceValue, 1000);
    EXPECT_EQ(g_paramTable[126].referenceValue, 1126);
    EXPECT_EQ(g_paramTable[127].referenceValue, 0x1234);
    EXPECT_EQ(g_functionTable[127].referenceValue, 128);
    EXPECT_EQ(g_paramTable[0].value, 0);
}

TEST_F(ParameterCommandsTest, ReadReferenceValuesChecksLengthBeforeCode) {
    peer.AnswerPacket(0x10, 0x07, ValueWords(13));
    EXPECT_EQ(ReadReferenceValues(), Status::WrongLength);
    peer.AnswerPacket(0x10, 0x02, ValueWords(127));
    EXPECT_EQ(ReadReferenceValues(), Status::WrongCode);
    peer.AnswerPacket(0x10, 0x03, ValueWords(127));
    peer.AnswerPacket(0x10, 0x26, RestValues(127));
    EXPECT_EQ(ReadReferenceValues(), Status::WrongLength);
    EXPECT_EQ(g_paramTable[126].referenceValue, 1126);
    peer.AnswerPacket(0x10, 0x03, ValueWords(127));
    peer.AnswerPacket(0x10, 0x25, RestValues());
    EXPECT_EQ(ReadReferenceValues(), Status::WrongCode);
    EXPECT_EQ(g_paramTable[127].referenceValue, 0);
}

TEST_F(ParameterCommandsTest, ValueReadsPassOnFramingFailures) {
    peer.Silence();
    EXPECT_EQ(ReadParameterValues(), Status::NoAnswer);
    peer.Answer({0x10});
    EXPECT_EQ(ReadReferenceValues(), Status::NoLength);
    line.failWrites = true;
    EXPECT_EQ(SetParameterByte(130, 1), Status::WriteFailed);
}

}  // namespace
