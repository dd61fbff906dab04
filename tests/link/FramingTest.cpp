#include <gtest/gtest.h>

#include <vector>

#include "link/Framing.h"
#include "link/SerialCom.h"
#include "tests/support/LinkFixture.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Keeps the line busy: a byte is always waiting for the master.
class NoisePeer : public LinePeer {
  public:
    void OnMasterByte(InProcessLine&, uint8_t) override {}
    void OnMasterRead(InProcessLine& line) override {
        if (line.PendingToMaster() == 0) {
            line.SendToMaster(0x55);
        }
    }
};

class FramingTest : public LinkFixture {
  protected:
    Status Send(const Bytes& request) { return SendPacket(request); }
    uint32_t Now() { return time.clock.TickCount(); }
};

struct RequestRow {
    const char* name;
    Bytes request;  // address, L, payload
    Bytes wire;     // what the unit must see
};

TEST_F(FramingTest, RequestsGoOutWithLengthAndPlainChecksum) {
    const RequestRow rows[] = {
        {"identify unit 1", {0x12, 0x01, 0xC0}, {0x12, 0x01, 0xC0, 0xC1}},
        {"adjust, sum wraps",
         {0x22, 0x04, 0x81, 0x7F, 0xFF, 0xF6},
         {0x22, 0x04, 0x81, 0x7F, 0xFF, 0xF6, 0xF9}},
        {"sum of exactly 256 sends 0", {0x42, 0x02, 0xFE, 0x00}, {0x42, 0x02, 0xFE, 0x00, 0x00}},
        {"bytes past L are not sent", {0x32, 0x01, 0xB6, 0x99, 0x99}, {0x32, 0x01, 0xB6, 0xB7}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Send(row.request), Status::Ok);
        EXPECT_EQ(line.TakeWritten(), row.wire);
    }
}

TEST_F(FramingTest, FullLengthRequestCarries258Bytes) {
    Bytes request(257, 0x01);
    request[0] = 0x12;
    request[1] = 0xFF;
    EXPECT_EQ(Send(request), Status::Ok);
    const Bytes wire = line.TakeWritten();
    ASSERT_EQ(wire.size(), 258u);
    EXPECT_EQ(wire.back(), static_cast<uint8_t>(0xFF + 255));
}

TEST_F(FramingTest, RequestShorterThanItsLengthByteSaysIsRefusedUnwritten) {
    const Bytes rows[] = {{}, {0x12}, {0x12, 0x02, 0xA8}, {0x12, 0xFF, 0x01}};
    line.SendToMaster(Bytes{0x10});  // stale input stays: nothing was attempted
    for (const Bytes& request : rows) {
        SCOPED_TRACE(request.size());
        EXPECT_EQ(Send(request), Status::WriteFailed);
    }
    EXPECT_TRUE(line.Written().empty());
    EXPECT_EQ(line.PendingToMaster(), 1u);
    EXPECT_EQ(Send({0x12, 0x02, 0xA8, 0x05}), Status::Ok);
}

TEST_F(FramingTest, StaleInputIsDrainedBeforeTheRequest) {
    line.SendToMaster(Bytes{0x10, 0x05, 0x40});
    const uint32_t before = Now();
    EXPECT_EQ(Send({0x12, 0x01, 0xC0}), Status::Ok);
    EXPECT_EQ(line.PendingToMaster(), 0u);
    // Three stale bytes, then one empty read of 20 ms.
    EXPECT_EQ(Now() - before, 20u);
}

TEST_F(FramingTest, LineThatNeverFallsSilentFailsTheRequestWithoutWriting) {
    NoisePeer noise;
    UsePeer(&noise);
    EXPECT_FALSE(DrainInput());
    EXPECT_EQ(Send({0x12, 0x01, 0xC0}), Status::WriteFailed);
    EXPECT_TRUE(line.Written().empty());
}

TEST_F(FramingTest, FailedFirstByteReopensThePortOnceAndRetries) {
    line.BreakOpenDevices();
    const int opensBefore = line.openCount;
    EXPECT_EQ(Send({0x12, 0x01, 0xC0}), Status::Ok);
    EXPECT_EQ(line.openCount, opensBefore + 1);
    EXPECT_EQ(line.TakeWritten(), (Bytes{0x12, 0x01, 0xC0, 0xC1}));
    EXPECT_TRUE(prompter.boxes.empty());
}

// The framing shows nothing itself: the failed reopening waits for the window to report it.
TEST_F(FramingTest, FirstByteFailsAndPortCannotBeReopened) {
    line.BreakOpenDevices();
    line.refuseOpen = true;
    EXPECT_EQ(Send({0x12, 0x01, 0xC0}), Status::WriteFailed);
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_TRUE(g_link.TakeUnreportedFailure());
    EXPECT_FALSE(g_link.TakeUnreportedFailure());
    EXPECT_EQ(g_link.LastFailure().step, PortStep::Open);
    EXPECT_FALSE(g_link.IsOpen());
    // A closed link fails at once, and the next request tries to reopen again.
    line.refuseOpen = false;
    EXPECT_EQ(Send({0x12, 0x01, 0xC0}), Status::Ok);
}

TEST_F(FramingTest, LaterByteFailureIsNotRecovered) {
    line.writesUntilFailure = 2;
    const int opensBefore = line.openCount;
    EXPECT_EQ(Send({0x12, 0x02, 0xA8, 0x05}), Status::WriteFailed);
    EXPECT_EQ(line.openCount, opensBefore);
    EXPECT_EQ(line.TakeWritten(), (Bytes{0x12, 0x02}));
}

TEST_F(FramingTest, ReceiveAcceptsAnswerOnLengthAndCodeAlone) {
    // Another unit's first byte and a wrong checksum do not matter.
    line.SendToMaster(Bytes{0x30, 0x03, 0x40, 0xAA, 0xBB, 0x00});
    AnswerBuffer answer;
    answer.fill(0xEE);
    EXPECT_EQ(ReceivePacket(answer, kPatience200ms), Status::Ok);
    EXPECT_EQ(answer[0], 0x30);
    EXPECT_EQ(AnswerLength(answer), 3);
    EXPECT_EQ(AnswerCode(answer), 0x40);
    EXPECT_EQ(AnswerData(answer, 0), 0xAA);
    EXPECT_EQ(AnswerData(answer, 1), 0xBB);
    EXPECT_EQ(answer[5], 0x00);  // the checksum byte is stored as it came
    EXPECT_EQ(answer[6], 0x00);  // zeroed before the read
}

TEST_F(FramingTest, FirstByteCountsOnlyBeforeTheLastAllowedRead) {
    struct Row {
        uint32_t tries;
        uint32_t arrivesDuringRead;
        Status status;
    };
    const Row rows[] = {{10, 9, Status::Ok},
                        {10, 10, Status::NoAnswer},
                        {2, 1, Status::Ok},
                        {2, 2, Status::NoAnswer},
                        {1, 1, Status::NoAnswer}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << row.tries << " tries, byte in read " << row.arrivesDuringRead);
        line.ClearToMaster();
        line.SendToMaster(MakeAnswer(0x10, 0x40, {1, 2}), 20 * (row.arrivesDuringRead - 1) + 10);
        AnswerBuffer answer;
        const Patience patience{std::chrono::milliseconds(20 * row.tries)};
        ASSERT_EQ(patience.Reads(), row.tries);
        EXPECT_EQ(ReceivePacket(answer, patience), row.status);
    }
}

TEST_F(FramingTest, NoAnswerCostsEveryAllowedRead) {
    AnswerBuffer answer;
    const uint32_t before = Now();
    EXPECT_EQ(ReceivePacket(answer, kPatience200ms), Status::NoAnswer);
    EXPECT_EQ(Now() - before, 200u);
}

TEST_F(FramingTest, MissingLengthOrCodeByte) {
    AnswerBuffer answer;
    line.SendToMaster(Bytes{0x10});
    EXPECT_EQ(ReceivePacket(answer, kPatience200ms), Status::NoLength);
    line.SendToMaster(Bytes{0x10, 0x02});
    EXPECT_EQ(ReceivePacket(answer, kPatience200ms), Status::NoCode);
}

TEST_F(FramingTest, ZeroLengthAnswerReadsItsCodeAndNothingMore) {
    line.SendToMaster(Bytes{0x10, 0x00, 0x42, 0x77});
    AnswerBuffer answer;
    EXPECT_EQ(ReceivePacket(answer, kPatience200ms), Status::Ok);
    EXPECT_EQ(AnswerCode(answer), 0x42);
    EXPECT_EQ(line.PendingToMaster(), 1u);
    EXPECT_EQ(answer[3], 0);
}

// An answer whose data stops early would fill the tables with zeros: it is refused at the
// first missing data byte. Only the checksum may be missing.
TEST_F(FramingTest, AnswerCutInItsDataIsRefusedOneWithoutChecksumIsNot) {
    line.SendToMaster(Bytes{0x10, 0x05, 0x04, 0x07});
    AnswerBuffer answer;
    const uint32_t before = Now();
    EXPECT_EQ(ReceivePacket(answer, kPatience200ms), Status::CutShort);
    EXPECT_EQ(Now() - before, 20u);  // one empty read, not one for each missing byte

    line.SendToMaster(Bytes{0x10, 0x03, 0x04, 0x07, 0x08});
    EXPECT_EQ(ReceivePacket(answer, kPatience200ms), Status::Ok);
    EXPECT_EQ(AnswerData(answer, 1), 0x08);
}

TEST_F(FramingTest, FullLengthAnswerFillsTheBufferExactly) {
    Bytes data(254);
    for (size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<uint8_t>(i);
    }
    line.SendToMaster(MakeAnswer(0x10, 0x02, data));
    AnswerBuffer answer;
    EXPECT_EQ(ReceivePacket(answer, kPatience200ms), Status::Ok);
    EXPECT_EQ(AnswerLength(answer), 255);
    EXPECT_EQ(AnswerData(answer, 253), 253);
    EXPECT_EQ(AnswerData(answer, 300), 0);  // out of range reads as 0
}

TEST_F(FramingTest, RequestAndAnswerThroughAScriptedUnit) {
    peer.AnswerPacket(0x10, 0x40, {0x41, 0x00, 0x0B, 0x07});
    ASSERT_EQ(Send({RequestAddress(0x10), 0x01, 0xC0}), Status::Ok);
    AnswerBuffer answer;
    ASSERT_EQ(ReceivePacket(answer, kPatience200ms), Status::Ok);
    EXPECT_EQ(AnswerData(answer, 2), 0x0B);
    ASSERT_EQ(peer.Requests().size(), 1u);
    EXPECT_EQ(peer.Requests()[0], (Bytes{0x12, 0x01, 0xC0, 0xC1}));
}

}  // namespace
