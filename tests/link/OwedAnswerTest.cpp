// A request that gave the line up to the user after it left may still be answered, late:
// that answer never passes for the next exchange's, whichever unit the next one asks.
#include <gtest/gtest.h>

#include <optional>

#include "link/LineDemand.h"
#include "link/ParameterCommands.h"
#include "link/UnitCommands.h"
#include "tests/link/CommandsTestSupport.h"
#include "tests/support/ForwardingPeer.h"

namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kUnitTwoPoll{0x22, 0x01, 0xC0, 0xC1};
const Bytes kFunction130On{0x12, 0x03, 0xA8, 0x82, 0x01, 0x2E};
const Bytes kStatusData{0x40, 0x00, 0x0B, 0x07, 0, 0, 0, 0, 0};

// The user reaches for a control as soon as a request with `command` has left; the units
// answer as each case scripts, and the time each request left is kept.
class OwedAnswerTest : public CommandsTest {
  protected:
    void SetUp() override {
        CommandsTest::SetUp();
        peer.onRequest = [this](const Bytes& request) {
            sent_ms.push_back(Now());
            if (request[2] == pressOn) {
                LineDemand::Raise();
            }
            if (request[2] == 0xA8) {
                peer.AnswerPacket(0x10, 0x04, {0x82, 0x01}, 2);
            } else if (request[2] == 0xC0 && identify_ms) {
                peer.AnswerPacket(static_cast<uint8_t>(request[0] & 0xF0), 0x40, kStatusData,
                                  *identify_ms);
            } else if (!late_ms) {
                peer.Silence();
            } else if (request[2] == 0xC0) {
                peer.AnswerPacket(static_cast<uint8_t>(request[0] & 0xF0), 0x40, kStatusData,
                                  *late_ms);
            } else {
                // The short form of the values: code 04 like a button's update list.
                peer.AnswerPacket(0x10, 0x04, Ramp(26, 1), *late_ms);
            }
        };
    }
    void TearDown() override {
        LineDemand::Clear();
        CommandsTest::TearDown();
    }
    uint32_t Now() const { return CurrentClock().TickCount(); }

    uint8_t pressOn = 0xC0;
    std::optional<uint32_t> late_ms;
    std::optional<uint32_t> identify_ms;
    std::vector<uint32_t> sent_ms;
};

TEST_F(OwedAnswerTest, APollsLateAnswerIsThrownAwayAndTheButtonGetsItsOwnAtOnce) {
    for (const std::optional<uint32_t> late : {std::optional<uint32_t>{}, {25u}, {60u}, {150u}}) {
        SCOPED_TRACE(late.value_or(0));
        late_ms = late;
        sent_ms.clear();
        g_functionTable[2].value = 0;
        UnitStatus status{};
        ASSERT_EQ(IdentifyUnit(0x20, status, LineUse::YieldsToUser), Status::Yielded);
        LineDemand::Clear();

        // The button's request goes once the line has been quiet for 20 ms, not after the
        // poll's patience, and takes its own answer behind the poll's.
        EXPECT_EQ(SetParameterByte(0x82, 1), Status::Ok);
        EXPECT_EQ(FunctionValue(0x82), 1);
        ASSERT_EQ(sent_ms.size(), 2u);
        EXPECT_EQ(sent_ms[1] - sent_ms[0], 20u);
        EXPECT_EQ(line.TakeWritten(), [] {
            Bytes both = kUnitTwoPoll;
            both.insert(both.end(), kFunction130On.begin(), kFunction130On.end());
            return both;
        }());

        // The next poll of unit 2 is its own: it goes after the line's 20 ms of quiet once
        // the answer came, and otherwise waits out what is left of the first poll's patience.
        late_ms = 2;
        pressOn = 0;
        const uint32_t before = Now();
        EXPECT_EQ(IdentifyUnit(0x20, status, LineUse::YieldsToUser), Status::Ok);
        EXPECT_EQ(late ? sent_ms.back() - before : sent_ms.back() - sent_ms[0], late ? 20u : 200u);
        EXPECT_EQ(status[kStatusByteAddress], 0x20);
        line.TakeWritten();
        pressOn = 0xC0;
    }
}

// The user comes while a poll waits out the line's silence: the poll is not sent, so the
// button goes at the end of that same silence and nothing is owed.
TEST_F(OwedAnswerTest, APollTheUserComesBeforeDuringItsSilenceIsNotSent) {
    struct ClaimAtRead : ForwardingPeer {
        using ForwardingPeer::ForwardingPeer;
        void BeforeByte(uint8_t) override {}
        void OnMasterRead(InProcessLine& on) override {
            LineDemand::Raise();
            ForwardingPeer::OnMasterRead(on);
        }
    } claim(peer);
    pressOn = 0;
    identify_ms = 2;
    UnitStatus status{};
    ASSERT_EQ(IdentifyUnit(0x20, status, LineUse::YieldsToUser), Status::Ok);
    line.TakeWritten();
    UsePeer(&claim);
    EXPECT_EQ(IdentifyUnit(0x20, status, LineUse::YieldsToUser), Status::Yielded);
    UsePeer(&peer);
    LineDemand::Clear();
    EXPECT_EQ(SetParameterByte(0x82, 1), Status::Ok);
    EXPECT_EQ(line.TakeWritten(), kFunction130On);
    EXPECT_EQ(sent_ms.at(1) - sent_ms[0], 2u + 20u);
}

// The selected unit's answer to a value read that gave way cannot be told from a button's (both
// may carry code 04): the button's request waits for it first, within the read's patience.
TEST_F(OwedAnswerTest, AValueReadThatGaveWayIsAwaitedBeforeTheSameUnitIsAskedAgain) {
    pressOn = 0xAC;
    late_ms = 60;
    {
        const YieldToUser yield;
        EXPECT_EQ(ReadParameterValues(), Status::Yielded);
    }
    LineDemand::Clear();
    EXPECT_EQ(SetParameterByte(0x82, 1), Status::Ok);
    EXPECT_EQ(FunctionValue(0x82), 1);
    for (int number = 0; number <= 12; ++number) {
        EXPECT_EQ(g_paramTable[number].value, 0) << number;
    }
    ASSERT_EQ(sent_ms.size(), 2u);
    EXPECT_EQ(sent_ms[1] - sent_ms[0], 60u + 20u);
    Bytes both{0x12, 0x01, 0xAC, 0xAD};
    both.insert(both.end(), kFunction130On.begin(), kFunction130On.end());
    EXPECT_EQ(line.TakeWritten(), both);

    // The status poll's identify goes at once all the same: the read's answer, behind which
    // the unit answers it, carries another code than 40.
    identify_ms = 2;
    {
        const YieldToUser yield;
        EXPECT_EQ(ReadParameterValues(), Status::Yielded);
    }
    LineDemand::Clear();
    UnitStatus status{};
    EXPECT_EQ(IdentifyUnit(0x10, status), Status::Ok);
    EXPECT_EQ(status[kStatusByteModel], 0x0B);
    EXPECT_EQ(sent_ms[3] - sent_ms[2], 20u);
    EXPECT_EQ(SetParameterByte(0x82, 1), Status::Ok);
    EXPECT_EQ(sent_ms[4] - sent_ms[2], 60u + 2u + 20u);
    identify_ms.reset();
    line.TakeWritten();

    // A unit that never answers the read costs the button the read's patience at most.
    late_ms.reset();
    {
        const YieldToUser yield;
        EXPECT_EQ(ReadParameterValues(), Status::Yielded);
    }
    LineDemand::Clear();
    EXPECT_EQ(SetParameterByte(0x82, 1), Status::Ok);
    EXPECT_LE(sent_ms.back() - sent_ms[5], 10'000u + 20u);
}

}  // namespace
