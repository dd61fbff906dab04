#include <gtest/gtest.h>

#include "tests/support/LinkFixture.h"
#include "unit/PollHandler.h"

namespace {

const std::vector<uint8_t> kStatusData{0x40, 0x00, 0x0B, 0x07, 0, 0, 0, 0, 0};

// Units answer from a set that a test changes; every poll is recorded by unit number.
class PollHandlerTest : public LinkFixture {
  protected:
    void SetUp() override {
        LinkFixture::SetUp();
        peer.onRequest = [this](const std::vector<uint8_t>& request) {
            const int unit = request[0] >> 4;
            polled.push_back(unit);
            if (present[unit]) {
                std::vector<uint8_t> data = kStatusData;
                data[2] = model[unit];
                peer.AnswerPacket(static_cast<uint8_t>(unit << 4), answerCode, data);
            } else {
                peer.Silence();
            }
        };
        handler.SetLampBits(g_panelModel.m_lampBits);
    }

    bool OnLine(int unit) const { return (g_panelModel.m_lampBits[unit] & 0x01) != 0; }

    // Polls until unit `unit` has been polled once more; returns that poll's result.
    int PollUnit(int unit, uint8_t skip = 0) {
        for (int i = 0; i < 4; ++i) {
            const size_t before = polled.size();
            const int result = handler.Poll(skip);
            if (polled.size() > before && polled.back() == unit) {
                return result;
            }
        }
        ADD_FAILURE() << "unit " << unit << " was not polled";
        return -1;
    }

    CPollHandler handler;
    std::vector<int> polled;
    bool present[5] = {};
    uint8_t model[5] = {0, 11, 4, 80, 177};
    uint8_t answerCode = 0x40;
};

TEST_F(PollHandlerTest, WithUnitTwoSelectedTheTicksPollOneThreeFourAndNobody) {
    present[1] = present[3] = true;
    std::vector<int> ticks;
    for (int tick = 0; tick < 8; ++tick) {
        const size_t before = polled.size();
        static_cast<void>(handler.Poll(2));
        ticks.push_back(polled.size() > before ? polled.back() : 0);
    }
    EXPECT_EQ(ticks, (std::vector<int>{1, 0, 3, 4, 1, 0, 3, 4}));
    EXPECT_EQ(peer.Requests()[0], (std::vector<uint8_t>{0x12, 0x01, 0xC0, 0xC1}));
    EXPECT_EQ(peer.Requests()[2], (std::vector<uint8_t>{0x42, 0x01, 0xC0, 0xC1}));
}

TEST_F(PollHandlerTest, AUnitComesOnLineWithItsFirstAnswer) {
    present[3] = true;
    EXPECT_EQ(PollUnit(1), 0);
    EXPECT_EQ(PollUnit(3), 1);
    EXPECT_TRUE(OnLine(3));
    EXPECT_EQ(handler.StatusOf(3)[kStatusByteModel], 80);
    EXPECT_EQ(handler.StatusOf(3)[kStatusByteAddress], 0x30);
    EXPECT_EQ(PollUnit(3), 0);  // still on line: no change
}

TEST_F(PollHandlerTest, TheFifthMissTakesAUnitOffLine) {
    present[2] = true;
    PollUnit(2);
    present[2] = false;
    for (int miss = 1; miss <= 4; ++miss) {
        EXPECT_EQ(PollUnit(2), 0) << miss;
        EXPECT_TRUE(OnLine(2));
        EXPECT_EQ(handler.StatusOf(2)[kStatusByteModel], 4) << "old copy kept";
        EXPECT_EQ(static_cast<int>(handler.MissCountOf(2)), miss);
    }
    EXPECT_EQ(PollUnit(2), 1);
    EXPECT_FALSE(OnLine(2));
    EXPECT_EQ(handler.StatusOf(2), UnitStatus{});
    EXPECT_EQ(PollUnit(2), 0);
}

TEST_F(PollHandlerTest, AnAnswerResetsTheMissCount) {
    present[1] = true;
    PollUnit(1);
    present[1] = false;
    PollUnit(1);
    PollUnit(1);
    present[1] = true;
    PollUnit(1);
    EXPECT_EQ(static_cast<int>(handler.MissCountOf(1)), 0);
    present[1] = false;
    for (int miss = 1; miss <= 4; ++miss) {
        PollUnit(1);
    }
    EXPECT_TRUE(OnLine(1));
}

TEST_F(PollHandlerTest, AnAnswerWithAnotherCodeCountsAsAMiss) {
    present[1] = true;
    PollUnit(1);
    answerCode = 0x41;
    for (int miss = 1; miss <= 4; ++miss) {
        EXPECT_EQ(PollUnit(1), 0) << miss;
        EXPECT_TRUE(OnLine(1));
    }
    EXPECT_EQ(PollUnit(1), 1);
    EXPECT_FALSE(OnLine(1));
    EXPECT_EQ(handler.StatusOf(1), UnitStatus{});
}

TEST_F(PollHandlerTest, ANeverSeenUnitReportsNoChangeEvenOnItsFifthMiss) {
    for (int poll = 0; poll < 7; ++poll) {
        EXPECT_EQ(PollUnit(4), 0) << poll;
    }
    EXPECT_FALSE(OnLine(4));
}

TEST_F(PollHandlerTest, ForcedPollsReportAChangeWhateverHappens) {
    present[1] = true;
    for (int unit = 1; unit <= 4; ++unit) {
        EXPECT_TRUE(handler.Poll(CPollHandler::kForceChange)) << unit;
    }
    EXPECT_EQ(polled, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_TRUE(OnLine(1));
    EXPECT_FALSE(OnLine(2));
}

TEST_F(PollHandlerTest, OtherLampBitsAreLeftAlone) {
    g_panelModel.m_lampBits[3] = 0x3E;
    present[3] = true;
    PollUnit(3);
    EXPECT_EQ(g_panelModel.m_lampBits[3], 0x3F);
    present[3] = false;
    for (int miss = 0; miss < 5; ++miss) {
        PollUnit(3);
    }
    EXPECT_EQ(g_panelModel.m_lampBits[3], 0x3E);
}

TEST_F(PollHandlerTest, MissCountsSaturateInsteadOfWrapping) {
    present[1] = true;
    PollUnit(1);
    present[1] = false;
    for (int miss = 0; miss < 300; ++miss) {
        PollUnit(1);
    }
    EXPECT_EQ(static_cast<int>(handler.MissCountOf(1)), 255);
    EXPECT_FALSE(OnLine(1));
    EXPECT_EQ(handler.StatusOf(1), UnitStatus{});
}

TEST_F(PollHandlerTest, WorksBeforeThePanelHandsOverItsLamps) {
    CPollHandler fresh;
    present[1] = true;
    EXPECT_TRUE(fresh.Poll(0));
    EXPECT_EQ(g_panelModel.m_lampBits[1], 0);
    EXPECT_EQ(fresh.StatusOf(0), UnitStatus{});
    EXPECT_EQ(fresh.StatusOf(7), UnitStatus{});
}

}  // namespace
