// The link watched over: a unit that stops answering, a device that goes away and comes
// back, a port missing at start-up. Each loss is reported once and heals without a click.
#include "controls/CCanvasCtrl.h"
#include "controls/CImageToggleButton.h"
#include "controls/CInfoBar.h"
#include "link/LineCarrier.h"
#include "link/SerialCom.h"
#include "tests/panel/PanelFixture.h"

namespace {

constexpr uint8_t kPrepareMenuData = 0xC5;
const char* const kLostText = "Lost communication with Main Unit!";

bool Sent(const std::vector<uint8_t>& written, uint8_t command) {
    return std::find(written.begin(), written.end(), command) != written.end();
}

class LinkSupervisionTest : public PanelFixture {
  protected:
    // The device disappears: open devices fail every call and it cannot be opened.
    void Unplug() {
        line.refuseOpen = true;
        line.BreakOpenDevices();
    }
    int CantOpenBoxes() const {
        return static_cast<int>(std::count_if(
            prompter.boxes.begin(), prompter.boxes.end(), [](const ScriptedPrompter::Box& box) {
                return box.text.rfind(g_cantOpenComPortText, 0) == 0;
            }));
    }
};

TEST_F(LinkSupervisionTest, ThirdMissedPollDeclaresTheLossOnceAndTheUnitReturnsByItself) {
    SelectUnit(1);
    const int breaks = line.BreakCount();
    Unit(1).SetPower(false);
    ASSERT_TRUE(RunPollTicksUntil([] { return g_panelModel.m_pollMissCount == 2; }));
    const uint32_t secondMiss = Now();
    EXPECT_EQ(panel->InfoBar()->Alert(), "");
    EXPECT_EQ(line.BreakCount(), breaks);

    ASSERT_TRUE(RunPollTicksUntil([] { return g_panelModel.m_currentMenu[1] == -1; }));
    EXPECT_GE(Now() - secondMiss, 1000u);  // a failed status poll pauses the next for 1 s
    EXPECT_EQ(panel->InfoBar()->Alert(), kLostText);
    EXPECT_EQ(line.BreakCount(), breaks + 2);
    EXPECT_FALSE(g_panelModel.IsImageLoaded(1));
    EXPECT_TRUE(panel->Timers().IsActive(kKeyScanTimer));
    EXPECT_FALSE(panel->Timers().IsActive(kPromptTimer));
    EXPECT_TRUE(panel->Timers().IsActive(kPollTimer));
    EXPECT_EQ(panel->AnsweringAddress(1), 0);

    // Lost, the panel keeps asking quietly: no more breaks, no boxes.
    RunPollTicks(40);
    EXPECT_EQ(line.BreakCount(), breaks + 2);
    EXPECT_EQ(panel->InfoBar()->Alert(), kLostText);
    EXPECT_TRUE(prompter.boxes.empty());

    // The keys that work on the unit's menus wait for them to come back.
    line.TakeWritten();
    panel->Toggle(14)->Press();  // the shortcut to menu 15
    panel->Toggle(4)->Press();   // VIEW FG
    EXPECT_EQ(g_panelModel.m_currentMenu[1], -1);
    EXPECT_TRUE(line.TakeWritten().empty());

    Unit(1).SetPower(true);
    ASSERT_TRUE(RunPollTicksUntil([] { return g_panelModel.m_currentMenu[1] != -1; }, 30));
    EXPECT_TRUE(Sent(line.TakeWritten(), kPrepareMenuData));
    EXPECT_TRUE(g_panelModel.IsImageLoaded(1));
    EXPECT_EQ(panel->InfoBar()->Alert(), "");
    EXPECT_FALSE(panel->Timers().IsActive(kKeyScanTimer));
    EXPECT_TRUE(panel->Timers().IsActive(kPromptTimer));
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(LinkSupervisionTest, AVanishedDeviceIsTriedOnceASecondAndTheUnitRecoversWithoutAClick) {
    SelectUnit(1);
    Unplug();
    RunPollTicks(1);
    EXPECT_FALSE(g_link.IsOpen());
    EXPECT_EQ(panel->InfoBar()->Alert(), kLostText);
    EXPECT_EQ(g_panelModel.m_currentMenu[1], -1);

    const int opens = line.openCount;
    const uint32_t lost = Now();
    RunPollTicksUntil([&] { return Now() - lost >= 5000; });
    EXPECT_GE(line.openCount - opens, 4);
    EXPECT_LE(line.openCount - opens, 6);
    EXPECT_EQ(panel->InfoBar()->Alert(), kLostText);
    EXPECT_TRUE(prompter.boxes.empty());

    line.refuseOpen = false;
    const uint32_t back = Now();
    ASSERT_TRUE(RunPollTicksUntil([] { return g_panelModel.m_currentMenu[1] != -1; }, 60));
    EXPECT_LT(Now() - back, 4000u);
    EXPECT_TRUE(g_link.IsOpen());
    EXPECT_EQ(panel->InfoBar()->Alert(), "");
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_TRUE(panel->KnobDisplay(0)->IsActive());
}

TEST_F(LinkSupervisionTest, WithoutASelectedUnitTheFailedOpenIsReportedOncePerLoss) {
    for (int loss = 1; loss <= 2; ++loss) {
        SCOPED_TRACE(loss);
        Unplug();
        RunPollTicks(30);
        EXPECT_EQ(CantOpenBoxes(), loss);
        EXPECT_NE(panel->InfoBar()->Alert().find("PREFS"), std::string::npos);

        line.refuseOpen = false;
        RunPollTicks(12);
        EXPECT_TRUE(g_link.IsOpen());
        EXPECT_EQ(panel->InfoBar()->Message(), "Select an Online Main Unit!");
    }
    ASSERT_TRUE(RunPollTicksUntil([&] { return panel->AnsweringAddress(3) != 0; }));
    SelectUnit(3);
    EXPECT_EQ(g_panelModel.m_currentMenu[3], Unit(3).UnitMenu());
}

// A busy unit answers its status alone: each poll asks it once and looks again at the next
// tick, however long it stays busy, and its changed values are read once it is done.
TEST_F(LinkSupervisionTest, ABusyUnitHoldsNoPollAndItsChangedValuesAreReadOnceItIsDone) {
    SimUnit& unit = SelectUnit(3);
    ParamRecord* param = panel->KnobDisplay(0)->Param();
    ASSERT_NE(param, nullptr);
    const int number = param->number;
    const int before = param->value;
    const int changed = unit.Value(number) == 0 ? 1 : unit.Value(number) - 1;

    unit.ChangeLocally(number, changed);
    unit.SetBusyKeepingValues(10 * 60 * 1000);
    const uint32_t start = Now();
    RunPollTicks(20);
    EXPECT_LT(Now() - start, 20 * 400u) << "a poll waited for the busy unit";
    EXPECT_EQ(param->value, before) << "read from a unit still busy";
    EXPECT_EQ(g_panelModel.m_pollMissCount, 0);

    unit.SetFlag(kStatusBusy, false);
    ASSERT_TRUE(RunPollTicksUntil([&] { return param->value == changed; }, 5));
    EXPECT_EQ(panel->InfoBar()->Alert(), "");
}

// The line's work runs in place, as without the line's own thread, but work handed aside
// waits until the test lets it run: the thread aside, on the virtual clock.
class HeldAside : public LineCarrier {
  public:
    HeldAside() { SetLineCarrier(this); }
    ~HeldAside() override { SetLineCarrier(nullptr); }
    Status Carry(const LineTask&, const std::function<Status()>& work) override { return work(); }
    void Post(std::function<void()> work) override { work(); }
    void Aside(std::function<void()> work) override { held.push_back(std::move(work)); }
    void Release() {
        std::vector<std::function<void()>> taken;
        taken.swap(held);
        for (const auto& work : taken) {
            work();
        }
    }
    std::vector<std::function<void()>> held;
};

// A device server whose connect takes 2 s: the ticks start one try and take its outcome
// later, and the window's thread never waits for the open.
TEST_F(LinkSupervisionTest, ADeviceWhoseOpenTakesTwoSecondsNeverHoldsTheWindow) {
    SelectUnit(1);
    Unplug();
    RunPollTicks(1);
    ASSERT_EQ(panel->InfoBar()->Alert(), kLostText);
    line.onOpen = [this] { time.clock.Advance(2000); };
    HeldAside aside;
    const int opens = line.openCount;
    const uint32_t start = Now();
    RunPollTicks(30);
    EXPECT_EQ(Now() - start, 30 * kPollPeriod_ms);
    EXPECT_EQ(line.openCount, opens);
    EXPECT_EQ(aside.held.size(), 1u) << "one try at a time";
    EXPECT_FALSE(g_link.IsOpen());

    // The device is back by the time its open ends; the next tick takes it, and the unit
    // comes back without a click.
    line.refuseOpen = false;
    aside.Release();
    EXPECT_EQ(line.openCount, opens + 1);
    EXPECT_TRUE(g_link.IsOpen());
    ASSERT_TRUE(RunPollTicksUntil([] { return g_panelModel.m_currentMenu[1] != -1; }, 60));
    EXPECT_EQ(panel->InfoBar()->Alert(), "");
    EXPECT_TRUE(prompter.boxes.empty());
}

class MissingPortTest : public LinkSupervisionTest {
  protected:
    bool StartInSetUp() const override { return false; }
};

TEST_F(MissingPortTest, APortMissingAtStartIsReportedOnceAndTakenWhenItAppears) {
    line.refuseOpen = true;
    StartPanel();
    EXPECT_EQ(CantOpenBoxes(), 1);
    EXPECT_FALSE(g_link.IsOpen());
    EXPECT_EQ(g_panelModel.m_lampBits[1] & 1, 0);
    RunPollTicks(25);
    EXPECT_EQ(CantOpenBoxes(), 1);

    line.refuseOpen = false;
    ASSERT_TRUE(RunPollTicksUntil([&] { return panel->AnsweringAddress(1) != 0; }, 30));
    EXPECT_TRUE(g_link.IsOpen());
    SelectUnit(1);
    EXPECT_EQ(g_currentUnitAddress, 0x10);
    EXPECT_EQ(CantOpenBoxes(), 1);
}

}  // namespace
