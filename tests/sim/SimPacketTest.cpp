// The unit side of the framing: answers out, requests in.
#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "sim/line/LineServer.h"
#include "sim/unit/SimPacket.h"

namespace {

TEST(EncodeAnswerTest, ChecksumCoversLengthCodeAndData) {
    EXPECT_EQ(EncodeAnswer(0x20, {0x05, {}}), (std::vector<uint8_t>{0x20, 0x01, 0x05, 0x06}));
    EXPECT_EQ(EncodeAnswer(0x10, {0x04, {0x90, 0xFF}}),
              (std::vector<uint8_t>{0x10, 0x03, 0x04, 0x90, 0xFF, 0x96}));
}

TEST(EncodeAnswerTest, DataIsCutToTheLongestAnswer) {
    const std::vector<uint8_t> packet = EncodeAnswer(0x10, {0x41, std::vector<uint8_t>(300, 1)});
    EXPECT_EQ(packet.size(), 258u);
    EXPECT_EQ(packet[1], 255);
}

class RequestCollectorTest : public ::testing::Test {
  protected:
    std::optional<SimRequest> FeedAll(const std::vector<uint8_t>& bytes) {
        std::optional<SimRequest> last;
        for (uint8_t b : bytes) {
            if (auto request = collector.Feed(b)) {
                last = request;
            }
        }
        return last;
    }

    ScopedVirtualClock time{5000};
    RequestCollector collector;
};

TEST_F(RequestCollectorTest, CollectsAddressAndPayload) {
    const auto request = FeedAll({0x22, 0x04, 0x81, 0x05, 0xFF, 0xFE, 0x87});
    ASSERT_TRUE(request);
    EXPECT_EQ(request->address, 0x22);
    EXPECT_EQ(request->UnitNumber(), 2);
    EXPECT_EQ(request->Command(), 0x81);
    EXPECT_EQ(request->ArgCount(), 3u);
    EXPECT_EQ(request->Arg(2), 0xFE);
    EXPECT_EQ(request->Arg(3), 0) << "past the end reads as zero";
}

TEST_F(RequestCollectorTest, ChecksumWrapsAndBadOnesAreDropped) {
    // 2 + 0xA8 + 0x60 = 0x10A: only the low byte is sent.
    EXPECT_TRUE(FeedAll({0x12, 0x02, 0xA8, 0x60, 0x0A}));
    EXPECT_FALSE(FeedAll({0x12, 0x02, 0xA8, 0x60, 0x0B}));
    EXPECT_EQ(collector.DroppedRequests(), 1);
    EXPECT_TRUE(FeedAll({0x12, 0x01, 0xC0, 0xC1})) << "the next request is heard";
}

TEST_F(RequestCollectorTest, ZeroLengthIsNotARequest) {
    EXPECT_FALSE(FeedAll({0x12, 0x00}));
    EXPECT_TRUE(FeedAll({0x12, 0x01, 0xC0, 0xC1}));
}

TEST_F(RequestCollectorTest, APauseStartsAfresh) {
    EXPECT_FALSE(FeedAll({0x12, 0x04, 0x81}));
    time.clock.Advance(RequestCollector::kRequestGap_ms + 1);
    EXPECT_TRUE(FeedAll({0x12, 0x01, 0xC0, 0xC1}));
    EXPECT_EQ(collector.DroppedRequests(), 1);
}

TEST_F(RequestCollectorTest, LongestRequestFits) {
    std::vector<uint8_t> bytes = {0x12, 0xFF};
    uint8_t sum = 0xFF;
    for (int i = 0; i < 255; ++i) {
        bytes.push_back(static_cast<uint8_t>(i));
        sum = static_cast<uint8_t>(sum + i);
    }
    bytes.push_back(sum);
    const auto request = FeedAll(bytes);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->payload.size(), 255u);
}

TEST(MarkedByteDecoderTest, UndoesTheTerminalMarking) {
    MarkedByteDecoder decoder;
    using Kind = MarkedByteDecoder::Kind;
    std::vector<std::pair<Kind, uint8_t>> events;
    for (uint8_t b : {0x41, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0x00, 0x37, 0x00}) {
        const auto event = decoder.Feed(b);
        if (event.kind != Kind::Nothing) {
            events.emplace_back(event.kind, event.byte);
        }
    }
    const std::vector<std::pair<Kind, uint8_t>> expected = {{Kind::Data, 0x41},
                                                            {Kind::Data, 0xFF},
                                                            {Kind::Break, 0x00},
                                                            {Kind::Damaged, 0x37},
                                                            {Kind::Data, 0x00}};
    EXPECT_EQ(events, expected);
}

}  // namespace
