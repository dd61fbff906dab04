#include <gtest/gtest.h>

#include "link/MenuDataCommands.h"
#include "tests/support/LinkFixture.h"
#include "unit/MenuImageDownload.h"

namespace {

// A unit that answers C5 and hands out `image` in chunks; a test scripts its faults.
class MenuImageDownloadTest : public LinkFixture {
  protected:
    void SetUp() override {
        LinkFixture::SetUp();
        g_currentUnitAddress = 0x20;
        image.resize(600);
        for (size_t i = 0; i < image.size(); ++i) {
            image[i] = static_cast<uint8_t>(i * 7 + 1);
        }
        peer.onRequest = [this](const std::vector<uint8_t>& request) { Serve(request); };
    }

    void Serve(const std::vector<uint8_t>& request) {
        if (request[2] == 0xC5) {
            ++prepares;
            sent = 0;
            if (prepares == shorterImageFromAttempt) {
                image.resize(250);
            }
            const bool refuse = prepares <= refusedPrepares;
            peer.AnswerPacket(0x20, refuse ? 0x01 : 0x00, {}, prepareDelay_ms);
        } else if (request[2] == 0xC1) {
            if (cutAfterChunks >= 0 && chunks++ >= cutAfterChunks) {
                cutAfterChunks = -1;
                peer.Answer({0x20, 0x00, 0x41});  // L = 0 ends this attempt
                return;
            }
            const size_t count = std::min<size_t>(200, image.size() - sent);
            const uint8_t code = sent + count == image.size() ? 0x42 : 0x41;
            peer.AnswerPacket(
                0x20, code,
                std::vector<uint8_t>(image.begin() + static_cast<long>(sent),
                                     image.begin() + static_cast<long>(sent + count)));
            sent += count;
        }
    }

    size_t PrepareRequests() const {
        size_t count = 0;
        for (const auto& request : peer.Requests()) {
            count += request[2] == 0xC5 ? 1 : 0;
        }
        return count;
    }

    std::vector<uint8_t> image;
    size_t sent = 0;
    int prepares = 0;
    int refusedPrepares = 0;
    int cutAfterChunks = -1;
    int chunks = 0;
    uint32_t prepareDelay_ms = 0;
    int shorterImageFromAttempt = 0;
};

TEST_F(MenuImageDownloadTest, TwoBreakPulsesThenPrepareAndRead) {
    const uint32_t before = CurrentClock().TickCount();
    EXPECT_EQ(DownloadMenuImage(2), Status::Ok);
    EXPECT_EQ(line.BreakCount(), 2);
    EXPECT_GE(CurrentClock().TickCount() - before, 200u);
    const auto& requests = peer.Requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[0], (std::vector<uint8_t>{0x22, 0x01, 0xC5, 0xC6}));
    EXPECT_EQ(requests[1], (std::vector<uint8_t>{0x22, 0x01, 0xC1, 0xC2}));
    const auto& block = g_panelModel.MenuImage(2);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), block.begin()));
    EXPECT_EQ(block[image.size()], 0);
    EXPECT_EQ(g_panelModel.MenuImage(1)[1], 0) << "other units' blocks untouched";
}

TEST_F(MenuImageDownloadTest, ARefusedPrepareCostsTwoPulsesAndAnotherAttempt) {
    refusedPrepares = 2;
    EXPECT_EQ(DownloadMenuImage(2), Status::Ok);
    EXPECT_EQ(PrepareRequests(), 3u);
    EXPECT_EQ(line.BreakCount(), 2 + 2 * 2);
}

TEST_F(MenuImageDownloadTest, TheBlockIsClearedBeforeEachAttempt) {
    g_panelModel.MenuImage(2).fill(0xEE);
    // The first attempt is cut off after 400 bytes; the unit then serves a shorter image.
    cutAfterChunks = 2;
    shorterImageFromAttempt = 2;
    EXPECT_EQ(DownloadMenuImage(2), Status::Ok);
    EXPECT_EQ(PrepareRequests(), 2u);
    const auto& block = g_panelModel.MenuImage(2);
    EXPECT_EQ(block[249], image[249]);
    for (size_t i = 250; i < 600; ++i) {
        ASSERT_EQ(block[i], 0) << i;
    }
}

TEST_F(MenuImageDownloadTest, TenFailedAttemptsReturnTheLastError) {
    refusedPrepares = 100;
    EXPECT_EQ(DownloadMenuImage(2), Status::WrongCode);
    EXPECT_EQ(PrepareRequests(), 10u);
    EXPECT_EQ(line.BreakCount(), 2 + 10 * 2);
}

TEST_F(MenuImageDownloadTest, AFailedDownloadLeavesTheBlockNotLoaded) {
    // The last attempt breaks off after 200 bytes: the block holds part of an image.
    refusedPrepares = 9;
    cutAfterChunks = 1;
    EXPECT_NE(DownloadMenuImage(2), Status::Ok);
    EXPECT_EQ(PrepareRequests(), 10u);
    EXPECT_EQ(g_panelModel.MenuImage(2)[1], image[1]);
    EXPECT_FALSE(g_panelModel.IsImageLoaded(2));

    refusedPrepares = 0;
    EXPECT_EQ(DownloadMenuImage(2), Status::Ok);
    EXPECT_EQ(g_panelModel.MenuImage(2)[0], image[0]);
}

TEST_F(MenuImageDownloadTest, APrepareAnswerMustCoverTheFirstRead) {
    prepareDelay_ms = 30;
    EXPECT_EQ(DownloadMenuImage(2), Status::NoAnswer);
    EXPECT_EQ(PrepareRequests(), 10u);
}

TEST_F(MenuImageDownloadTest, ReadFailuresAreRetried) {
    cutAfterChunks = 1;
    EXPECT_EQ(DownloadMenuImage(2), Status::Ok);
    EXPECT_EQ(PrepareRequests(), 2u);
    EXPECT_EQ(line.BreakCount(), 4);
}

TEST_F(MenuImageDownloadTest, AnImageLargerThanTheBlockFails) {
    image.assign(kMenuImageSize + 100, 0x31);
    EXPECT_EQ(DownloadMenuImage(2), Status::MenuDataOverflow);
    EXPECT_EQ(PrepareRequests(), 10u);
}

TEST_F(MenuImageDownloadTest, AUnitSlotOutsideOneToFourIsRefused) {
    EXPECT_EQ(DownloadMenuImage(0), Status::WriteFailed);
    EXPECT_EQ(DownloadMenuImage(5), Status::WriteFailed);
    EXPECT_TRUE(line.Written().empty());
    EXPECT_EQ(line.BreakCount(), 0);
}

}  // namespace
