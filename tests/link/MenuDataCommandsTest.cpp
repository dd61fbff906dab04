#include <gtest/gtest.h>

#include <array>

#include "link/MenuDataCommands.h"
#include "tests/link/CommandsTestSupport.h"

namespace {

using MenuDataCommandsTest = CommandsTest;

const std::vector<uint8_t> kReadRequest{0x12, 0x01, 0xC1, 0xC2};

TEST_F(MenuDataCommandsTest, PrepareAcceptsOnlyCodeZero) {
    peer.AnswerPacket(0x10, 0x00, {});
    EXPECT_EQ(PrepareMenuData(), Status::Ok);
    EXPECT_EQ(Request(0), (std::vector<uint8_t>{0x12, 0x01, 0xC5, 0xC6}));
    peer.AnswerPacket(0x10, 0x01, {});
    EXPECT_EQ(PrepareMenuData(), Status::WrongCode);
}

TEST_F(MenuDataCommandsTest, PrepareGivesTheUnitOnlyOneRead) {
    peer.AnswerPacket(0x10, 0x00, {}, DelayForRead(1));
    EXPECT_EQ(PrepareMenuData(), Status::Ok);
    peer.AnswerPacket(0x10, 0x00, {}, DelayForRead(2));
    EXPECT_EQ(PrepareMenuData(), Status::NoAnswer);
}

TEST_F(MenuDataCommandsTest, ChunksAreAppendedUntilCode42) {
    peer.AnswerPacket(0x10, 0x41, Ramp(254, 0));
    peer.AnswerPacket(0x10, 0x41, {});  // L = 1: nothing appended, the transfer goes on
    peer.AnswerPacket(0x10, 0x42, {0xA0, 0xA1});
    std::array<uint8_t, 1024> image{};
    EXPECT_EQ(ReadMenuData(image), Status::Ok);
    ASSERT_EQ(RequestCount(), 3u);
    for (size_t i = 0; i < RequestCount(); ++i) {
        EXPECT_EQ(Request(i), kReadRequest);
    }
    EXPECT_EQ(image[253], 253);
    EXPECT_EQ(image[254], 0xA0);
    EXPECT_EQ(image[255], 0xA1);
    EXPECT_EQ(image[256], 0);
}

TEST_F(MenuDataCommandsTest, AnyCodeButTheLastGoesOn) {
    peer.AnswerPacket(0x10, 0x00, {1});
    peer.AnswerPacket(0x10, 0x99, {2});
    peer.AnswerPacket(0x10, 0x42, {});
    std::array<uint8_t, 16> image{};
    EXPECT_EQ(ReadMenuData(image), Status::Ok);
    EXPECT_EQ(image[0], 1);
    EXPECT_EQ(image[1], 2);
}

TEST_F(MenuDataCommandsTest, ZeroLengthEndsTheTransferWithWrongLength) {
    peer.AnswerPacket(0x10, 0x41, {7, 8});
    peer.Answer({0x10, 0x00, 0x42});
    std::array<uint8_t, 16> image{};
    EXPECT_EQ(ReadMenuData(image), Status::WrongLength);
    EXPECT_EQ(image[1], 8);  // what arrived before stays
}

TEST_F(MenuDataCommandsTest, FramingFailuresEndTheTransfer) {
    peer.AnswerPacket(0x10, 0x41, {7});
    peer.Answer({0x10, 0x05});
    std::array<uint8_t, 16> image{};
    EXPECT_EQ(ReadMenuData(image), Status::NoCode);
    EXPECT_EQ(RequestCount(), 2u);
}

TEST_F(MenuDataCommandsTest, NeverWritesPastTheDestination) {
    std::array<uint8_t, 32> storage{};
    std::span<uint8_t> image(storage.data(), 10);
    peer.AnswerPacket(0x10, 0x41, Ramp(8, 1));
    peer.AnswerPacket(0x10, 0x42, Ramp(8, 9));
    EXPECT_EQ(ReadMenuData(image), Status::MenuDataOverflow);
    EXPECT_EQ(storage[9], 10);
    for (size_t i = 10; i < storage.size(); ++i) {
        ASSERT_EQ(storage[i], 0) << i;
    }
}

TEST_F(MenuDataCommandsTest, AnExactFitIsNoOverflow) {
    std::array<uint8_t, 10> image{};
    peer.AnswerPacket(0x10, 0x41, Ramp(6, 1));
    peer.AnswerPacket(0x10, 0x42, Ramp(4, 7));
    EXPECT_EQ(ReadMenuData(image), Status::Ok);
    EXPECT_EQ(image[9], 10);
}

TEST_F(MenuDataCommandsTest, AUnitThatNeverFinishesIsLetGo) {
    peer.onRequest = [this](const std::vector<uint8_t>&) { peer.AnswerPacket(0x10, 0x41, {}); };
    std::array<uint8_t, 16> image{};
    EXPECT_EQ(ReadMenuData(image), Status::MenuDataOverflow);
    EXPECT_EQ(RequestCount(), static_cast<size_t>(kMaxEmptyMenuDataAnswers) + 1);
}

TEST_F(MenuDataCommandsTest, AFullImageInMaximalChunks) {
    std::vector<uint8_t> image(kMenuImageSize);
    const size_t chunks = (image.size() + 253) / 254;
    size_t sent = 0;
    peer.onRequest = [&](const std::vector<uint8_t>&) {
        const size_t count = std::min<size_t>(254, image.size() - sent);
        const uint8_t code = sent + count == image.size() ? 0x42 : 0x41;
        peer.AnswerPacket(0x10, code, Ramp(count, static_cast<uint8_t>(sent)));
        sent += count;
    };
    EXPECT_EQ(ReadMenuData(image), Status::Ok);
    EXPECT_EQ(RequestCount(), chunks);
    EXPECT_EQ(image[65535], 0xFF);
    EXPECT_EQ(image[300], static_cast<uint8_t>(300));
}

}  // namespace
