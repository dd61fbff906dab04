// The panel's claims on the line, on the virtual clock: the user before a presence poll of an
// empty address and before the selected unit's status poll, a unit that ignores its value
// reads, the silence before a request.
#include <algorithm>
#include <optional>

#include "controls/CCanvasCtrl.h"
#include "controls/CInfoBar.h"
#include "link/LineDemand.h"
#include "link/SerialCom.h"
#include "protocol/Commands.h"
#include "sim/unit/SimFaults.h"
#include "tests/panel/PanelFixture.h"
#include "tests/support/ForwardingPeer.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t kEmptyUnitTwoPoll = 0x22;  // IdentifyUnit's address byte for unit 2
constexpr uint8_t kUnitThreePoll = 0x32;     // and unit 3's
const Bytes kUnitOneStatusPoll{0x12, 0x01, 0xC0, 0xC1};

// The line of units; the user reaches for a control the moment the master writes `trigger`.
class PressDuringPoll : public ForwardingPeer {
  public:
    PressDuringPoll(SimLine& sim, uint8_t trigger) : ForwardingPeer(sim), m_trigger(trigger) {}

    bool armed = false;

  protected:
    void BeforeByte(uint8_t byte) override {
        if (armed && byte == m_trigger) {
            LineDemand::Raise();
            armed = false;
        }
    }

  private:
    uint8_t m_trigger;
};

// The line of units; the user reaches for a control in the silence after the answer to the
// request that starts with `trigger`, at the first read that finds all of it taken. The
// time of the master's next byte is kept.
class PressAfterAnswer : public ForwardingPeer {
  public:
    PressAfterAnswer(SimLine& sim, uint8_t trigger) : ForwardingPeer(sim), m_trigger(trigger) {}

    bool armed = false;
    std::optional<uint32_t> claimed_ms;
    std::optional<uint32_t> nextByte_ms;

    void OnMasterRead(InProcessLine& on) override {
        const bool pending = on.PendingToMaster() > 0;
        if (m_asked && m_answering && !pending) {
            m_asked = false;
            claimed_ms = CurrentClock().TickCount();
            LineDemand::Raise();
        }
        m_answering = m_asked && pending;
        ForwardingPeer::OnMasterRead(on);
    }

  protected:
    void BeforeByte(uint8_t byte) override {
        if (claimed_ms && !nextByte_ms) {
            nextByte_ms = CurrentClock().TickCount();
        }
        m_asked = m_asked || (armed && byte == m_trigger);
        armed = armed && !m_asked;
    }

  private:
    uint8_t m_trigger;
    bool m_asked = false;
    bool m_answering = false;
};

class LineStoriesTest : public PanelFixture {
  protected:
    void TearDown() override {
        LineDemand::Clear();
        line.SetPeer(&sim);
        PanelFixture::TearDown();
    }
    // Unit 1 selected, knob 1's value changed on the unit, which flags it but ignores the
    // value reads; the knob's record and the changed value.
    std::pair<ParamRecord*, int> FlagAChangeTheUnitWillNotGive() {
        SimUnit& unit = SelectUnit(1);
        ParamRecord* param = panel->KnobDisplay(0)->Param();
        const int changed = param == nullptr || param->value == 0 ? 1 : param->value - 1;
        unit.Faults().Set(FaultKind::IgnoreCommand,
                          static_cast<uint8_t>(Command::ReadParameterValues));
        if (param != nullptr) {
            unit.ChangeLocally(param->number, changed);
        }
        return {param, changed};
    }
    // Ticks until the next poll goes to unit `unit`.
    void PollNextGoesTo(int unit) {
        while (panel->Console().PollHandler().PollIndex() != unit - 1) {
            RunPollTicks(1);
        }
    }
};

TEST_F(LineStoriesTest, APressDuringAPresencePollOfAnEmptyAddressTakesTheLineAtOnce) {
    SelectUnit(1);
    RunPollTicks(8);
    const uint8_t misses = panel->Console().PollHandler().MissCountOf(2);
    PressDuringPoll peer(sim, kEmptyUnitTwoPoll);
    line.SetPeer(&peer);

    // The poll of unit 2 gives the line up at its first read and the tick ends there: no
    // status poll of unit 1, no miss counted for unit 2.
    PollNextGoesTo(2);
    peer.armed = true;
    line.TakeWritten();
    time.clock.Advance(kPollPeriod_ms);
    const uint32_t start = Now();
    panel->Console().OnPollTimer();
    EXPECT_TRUE(panel->Console().PollHandler().Yielded());
    EXPECT_EQ(Now() - start, 0u);
    EXPECT_EQ(line.TakeWritten(), (Bytes{0x22, 0x01, 0xC0, 0xC1}));
    EXPECT_EQ(panel->Console().PollHandler().MissCountOf(2), misses);

    // The knob's request goes once the line has been quiet 20 ms since the poll's bytes.
    ParamRecord* param = panel->KnobDisplay(0)->Param();
    ASSERT_NE(param, nullptr);
    const int before = param->value;
    panel->KnobTick(0, 1);
    EXPECT_EQ(Now() - start, 20u);
    EXPECT_EQ(param->value, before + 1);
    EXPECT_EQ(Unit(1).Value(param->number), before + 1);

    // A poll asked for while the user still wants the line is not sent at all.
    PollNextGoesTo(4);
    line.TakeWritten();
    panel->Console().OnPollTimer();
    EXPECT_TRUE(panel->Console().PollHandler().Yielded());
    EXPECT_TRUE(line.TakeWritten().empty());

    // Once the user's work is done, the polls go on as before.
    LineDemand::Clear();
    RunPollTicks(4);
    EXPECT_FALSE(panel->Console().PollHandler().Yielded());
    EXPECT_EQ(panel->Console().PollHandler().MissCountOf(2), misses + 1);
    EXPECT_NE(panel->AnsweringAddress(1), 0);
}

// The user comes while the selected unit's status poll waits out the line's silence after the
// presence poll of another unit: the status request is not sent, the knob's goes at the end
// of that silence, and the status is read at the next tick. A status poll that gives the line
// up after its request left leaves its answer to be awaited, not taken for the knob's.
TEST_F(LineStoriesTest, APressDuringTheStatusPollsWaitForTheLineGoesBeforeItsRequest) {
    SelectUnit(1);
    RunPollTicks(8);
    ParamRecord* param = panel->KnobDisplay(0)->Param();
    ASSERT_NE(param, nullptr);
    const int before = param->value;
    const UnitStatus status = g_unitStatus;
    PressAfterAnswer peer(sim, kUnitThreePoll);
    line.SetPeer(&peer);
    PollNextGoesTo(3);
    peer.armed = true;
    line.TakeWritten();
    RunPollTicks(1);
    ASSERT_TRUE(peer.claimed_ms);
    EXPECT_EQ(line.TakeWritten(), (Bytes{kUnitThreePoll, 0x01, 0xC0, 0xC1}));
    EXPECT_EQ(g_unitStatus, status);
    panel->KnobTick(0, 1);
    EXPECT_EQ(line.TakeWritten().at(2), static_cast<uint8_t>(Command::AdjustParameter));
    EXPECT_EQ(peer.nextByte_ms.value_or(0) - *peer.claimed_ms, 20u);
    EXPECT_EQ(Unit(1).Value(param->number), before + 1);

    PressDuringPoll late(sim, kUnitOneStatusPoll[0]);
    line.SetPeer(&late);
    LineDemand::Clear();
    late.armed = true;
    RunPollTicks(1);
    const Bytes written = line.TakeWritten();
    EXPECT_TRUE(
        std::equal(kUnitOneStatusPoll.rbegin(), kUnitOneStatusPoll.rend(), written.rbegin()));
    EXPECT_EQ(g_unitStatus, status);
    panel->KnobTick(0, 1);
    EXPECT_EQ(param->value, before + 2);
    EXPECT_EQ(Unit(1).Value(param->number), before + 2);
    EXPECT_FALSE(g_link.Owed().Owes(1));
    EXPECT_EQ(g_panelModel.m_pollMissCount, 0);
}

// The unit flags changed values but ignores the reads: each failing read costs its patience
// a bounded number of times, then the poll leaves the values alone until the unit flags them
// again, and reads them as soon as the unit answers.
TEST_F(LineStoriesTest, AValueReadThatKeepsFailingIsTriedABoundedNumberOfTimes) {
    const auto [param, changed] = FlagAChangeTheUnitWillNotGive();
    ASSERT_NE(param, nullptr);

    // Three ticks wait out a read each; then the ticks cost their polls alone, with one more
    // try every few seconds.
    const uint32_t flagged = Now();
    RunPollTicks(3);
    EXPECT_GE(Now() - flagged, 3 * 10'000u);
    const uint32_t settled = Now();
    RunPollTicks(10);
    EXPECT_LT(Now() - settled, 10 * 300u);
    EXPECT_NE(param->value, changed);
    EXPECT_EQ(g_currentUnitAddress, 0x10);

    Unit(1).Faults().ClearAll();
    ASSERT_TRUE(RunPollTicksUntil([&] { return param->value == changed; }, 60));
    EXPECT_EQ(panel->InfoBar()->Alert(), "");
}

// The poll's read of values the unit flagged gives way too, and is read at a later tick.
TEST_F(LineStoriesTest, APressDuringThePollsValueReadTakesTheLineAndTheReadComesLater) {
    const auto [param, changed] = FlagAChangeTheUnitWillNotGive();
    ASSERT_NE(param, nullptr);
    PressDuringPoll peer(sim, static_cast<uint8_t>(Command::ReadParameterValues));
    line.SetPeer(&peer);
    peer.armed = true;

    const uint32_t start = Now();
    RunPollTicks(1);
    EXPECT_LT(Now() - start, kPollPeriod_ms + 300u) << "the read waited out its patience";
    EXPECT_EQ(g_panelModel.m_pollMissCount, 0);

    LineDemand::Clear();
    Unit(1).Faults().ClearAll();
    RunPollTicks(1);
    EXPECT_EQ(param->value, changed);
}

}  // namespace
