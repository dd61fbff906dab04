// Selecting units: the menu retrieval that brings the whole panel up to date, the cache that
// spares a second download, the refusal of a unit in boot mode and the router settings.
#include <QGuiApplication>

#include "app/SavedPort.h"
#include "console/PanelActions.h"
#include "controls/CCanvasCtrl.h"
#include "controls/CImageToggleButton.h"
#include "controls/CInfoBar.h"
#include "controls/CLabel.h"
#include "controls/CSettingsBar.h"
#include "protocol/Commands.h"
#include "sim/unit/UnitCommands.h"
#include "tests/panel/PanelFixture.h"
#include "tests/support/ForwardingPeer.h"

namespace {

constexpr uint8_t kPrepareMenuData = 0xC5;

bool Sent(const std::vector<uint8_t>& written, uint8_t command) {
    return std::find(written.begin(), written.end(), command) != written.end();
}

using SelectionTest = PanelFixture;

TEST_F(SelectionTest, SelectingAUnitRetrievesItsMenusAndKnobsFollowTheUnit) {
    line.TakeWritten();
    SimUnit& unit = SelectUnit(1);
    EXPECT_TRUE(Sent(line.TakeWritten(), kPrepareMenuData));
    EXPECT_EQ(g_currentUnitAddress, 0x10);
    EXPECT_EQ(g_panelModel.MenuButtonCount(), 10);
    EXPECT_EQ(g_panelModel.m_currentMenu[1], unit.UnitMenu());
    EXPECT_EQ(g_panelModel.m_unitMenu[1], unit.UnitMenu());
    EXPECT_TRUE(g_panelModel.IsImageLoaded(1));
    EXPECT_EQ(panel->InfoBar()->Message(), "");
    EXPECT_EQ(panel->InfoBar()->Alert(), "");
    EXPECT_FALSE(panel->TitleLabel()->Text().empty());
    EXPECT_EQ(panel->TitleLabel()->Text(), g_menuTable[unit.UnitMenu()].title);
    EXPECT_EQ(panel->SettingsBar()->SettingsText(), unit.SettingsLabel());
    EXPECT_TRUE(panel->Timers().IsActive(kPromptTimer));
    EXPECT_TRUE(panel->ModelBadge(4)->isVisibleTo(panel.get()));  // model 11
    EXPECT_FALSE(panel->ModelBadge(8)->isVisibleTo(panel.get()));

    // Every knob display shows the value the unit holds for its parameter.
    CCanvasCtrl* display = panel->KnobDisplay(0);
    ASSERT_TRUE(display->IsActive());
    ParamRecord* param = display->Param();
    EXPECT_EQ(param, &g_paramTable[g_menuTable[unit.UnitMenu()].knobParam[0]]);
    EXPECT_EQ(param->value, unit.Value(param->number));

    // Turning the knob moves the unit's value; the display shows what the unit answered.
    const int before = unit.Value(param->number);
    EXPECT_TRUE(panel->Actions().TurnKnob(0, +5, {}).taken);
    EXPECT_EQ(unit.Value(param->number), before + 5);
    EXPECT_EQ(param->value, before + 5);

    // A change made on the unit itself reaches the display at the next status poll.
    unit.ChangeLocally(param->number, before - 7);
    RunPollTicks(2);
    EXPECT_EQ(display->Param()->value, before - 7);
    EXPECT_EQ(g_panelModel.m_pollMissCount, 0);

    // The selected unit again: nothing is retrieved.
    line.TakeWritten();
    SelectUnit(1);
    EXPECT_FALSE(Sent(line.TakeWritten(), kPrepareMenuData));
}

TEST_F(SelectionTest, AnotherUnitReplacesTheTablesAndACachedImageIsNotFetchedAgain) {
    SelectUnit(1);
    // A unit naming a menu that is not one of its own starts in its first.
    Unit(3).ShowMenu(70);
    SimUnit& compact = SelectUnit(3);
    EXPECT_EQ(g_currentUnitAddress, 0x30);
    EXPECT_EQ(g_panelModel.m_currentMenu[3], 0);
    EXPECT_EQ(panel->TitleLabel()->Text(), g_menuTable[0].title);
    EXPECT_EQ(g_panelModel.MenuButtonCount(), 6);
    EXPECT_EQ(g_panelModel.MenuEntryCount(), 12);
    EXPECT_TRUE(panel->ModelBadge(0)->isVisibleTo(panel.get()));  // model 4
    EXPECT_FALSE(panel->ModelBadge(4)->isVisibleTo(panel.get()));
    EXPECT_EQ(panel->KnobDisplay(0)->Param()->value,
              compact.Value(panel->KnobDisplay(0)->Param()->number));

    // Back to unit 1: its image is still in its block, so it is parsed, not downloaded.
    line.TakeWritten();
    SimUnit& full = SelectUnit(1);
    EXPECT_FALSE(Sent(line.TakeWritten(), kPrepareMenuData));
    EXPECT_EQ(g_panelModel.MenuButtonCount(), 10);
    EXPECT_EQ(panel->TitleLabel()->Text(), g_menuTable[full.UnitMenu()].title);
}

// The line of units, except that a unit stays silent once to the first value read after the
// drop is armed.
class DropOneValueRead : public ForwardingPeer {
  public:
    DropOneValueRead(SimLine& sim, SimUnit& unit) : ForwardingPeer(sim), m_unit(unit) {}

    bool armed = false;

  protected:
    void BeforeByte(uint8_t byte) override {
        if (armed && byte == static_cast<uint8_t>(Command::ReadParameterValues)) {
            m_unit.Faults().Set(FaultKind::Silent, 0, 1);
            armed = false;
        }
    }

  private:
    SimUnit& m_unit;
};

// Puts the line's own peer back, however the test ends.
struct PeerRestore {
    InProcessLine& line;
    LinePeer* peer;
    ~PeerRestore() { line.SetPeer(peer); }
};

// The value read after a selection's parse fails: the unit does not flag its values as
// changed, yet the next poll reads them, so the knobs never keep values the unit lacks.
TEST_F(SelectionTest, AFailedValueReadAtSelectionIsReadAgainByThePoll) {
    SimUnit& unit = SelectUnit(1);
    const int number = panel->KnobDisplay(0)->Param()->number;
    SelectUnit(3);
    unit.SetValue(number, unit.Value(number) + 3);
    DropOneValueRead drop(sim, unit);
    line.SetPeer(&drop);
    const PeerRestore restore{line, &sim};
    drop.armed = true;

    SelectUnit(1);
    ASSERT_FALSE(drop.armed);
    ASSERT_EQ(panel->KnobDisplay(0)->Param()->number, number);
    EXPECT_NE(panel->KnobDisplay(0)->Param()->value, unit.Value(number));
    RunPollTicks(2);
    EXPECT_EQ(panel->KnobDisplay(0)->Param()->value, unit.Value(number));
    EXPECT_EQ(panel->InfoBar()->Alert(), "");
}

// Reads another unit kept failing do not hold back the values of the unit selected next.
TEST_F(SelectionTest, ThrottledValueReadsOfOneUnitDoNotHoldBackTheNext) {
    SelectUnit(3);
    SimUnit& first = SelectUnit(1);
    first.Faults().Set(FaultKind::IgnoreCommand,
                       static_cast<uint8_t>(Command::ReadParameterValues));
    first.ChangeLocally(0, first.Value(0) + 1);
    RunPollTicks(6);  // the reads fail tick after tick, then wait their turn
    first.Faults().ClearAll();
    SimUnit& next = Unit(3);
    SelectUnit(3);
    const int number = panel->KnobDisplay(0)->Param()->number;
    next.ChangeLocally(number, next.Value(number) + 2);
    RunPollTicks(2);
    EXPECT_EQ(panel->KnobDisplay(0)->Param()->value, next.Value(number));
}

// A unit that falls silent between its last poll and its selection costs one identify, not a
// string of reads each waiting out its patience; it is fetched once it answers again.
TEST_F(SelectionTest, AUnitSilentAtSelectionIsNotReadAndComesBackByItsPoll) {
    SelectUnit(1);
    SelectUnit(3);
    Unit(1).SetPower(false);
    line.TakeWritten();
    const uint32_t before = Now();
    SelectUnit(1);
    EXPECT_LT(Now() - before, 1000u);
    EXPECT_EQ(line.TakeWritten(), (std::vector<uint8_t>{0x12, 0x01, 0xC0, 0xC1}));
    EXPECT_EQ(panel->InfoBar()->Alert(), "Error retrieving menus!");
    EXPECT_FALSE(g_panelModel.IsImageLoaded(1));

    Unit(1).SetPower(true);
    ASSERT_TRUE(RunPollTicksUntil([] { return g_panelModel.m_currentMenu[1] != -1; }, 30));
    EXPECT_EQ(panel->InfoBar()->Alert(), "");
    EXPECT_EQ(g_panelModel.MenuButtonCount(), 10);
    EXPECT_EQ(panel->KnobDisplay(0)->Param()->value,
              Unit(1).Value(panel->KnobDisplay(0)->Param()->number));
}

TEST_F(SelectionTest, AUnitInBootModeIsRefusedWithItsNumber) {
    Unit(3).SetFlag(kStatusBootMode, true);
    RunPollTicks(4);  // the presence poll learns the unit's state
    line.TakeWritten();
    SelectUnit(3);
    EXPECT_EQ(panel->InfoBar()->Alert(), "Main Unit 3 not programmed OR in Boot Mode!");
    EXPECT_EQ(g_currentUnitAddress, 0);
    EXPECT_FALSE(Sent(line.TakeWritten(), kPrepareMenuData));

    // An absent unit's key does nothing at all.
    panel->Toggle(1)->Press();
    EXPECT_EQ(g_currentUnitAddress, 0);
}

// The configuration file is written before the panel starts.
class ConfigurationTest : public PanelFixture {
  protected:
    bool StartInSetUp() const override { return false; }
};

TEST_F(ConfigurationTest, RouterSentOnSelectionOnlyWhenTheConfigurationEnablesThem) {
    UseConfiguration("[ROUTER]\r\nENABLED=TRUE\r\nPOLARITY=LOW\r\nDWELL_FRAMES=40 frames\r\n");
    StartPanel();
    SimUnit& unit = SelectUnit(1);
    EXPECT_EQ(unit.Value(214), 0);  // polarity LOW
    EXPECT_EQ(unit.Value(114), 40);
    EXPECT_EQ(unit.Value(211), 1);
}

TEST_F(ConfigurationTest, RouterNotSentWithoutTheSectionOrWhenNotExactlyTrue) {
    for (const char* config : {"[MOUSE]\nVISIBLE=TRUE\n", "[ROUTER]\nENABLED = TRUE\n"}) {
        SCOPED_TRACE(config);
        UseConfiguration(config);
        StartPanel();
        SimUnit& unit = SelectUnit(1);
        EXPECT_EQ(unit.Value(211), 0);
        EXPECT_EQ(unit.Value(114), 25);
        panel.reset();
        g_currentUnitAddress = 0;
    }
    // Enabled without a polarity: polarity 1.
    UseConfiguration("[ROUTER]\nENABLED=TRUE\n");
    StartPanel();
    SimUnit& unit = SelectUnit(1);
    Unit(1).SetValue(214, 0);
    panel->Console().SelectUnit(3);
    panel->Console().SelectUnit(1);
    EXPECT_EQ(unit.Value(214), 1);
    EXPECT_EQ(unit.Value(114), 0);
    EXPECT_EQ(unit.Value(211), 1);
}

TEST_F(ConfigurationTest, ARunOnTheStoredPortStoresThePortChosenInTheSetup) {
    CTavrinoxDlg::SetRunPort("");
    UseConfiguration("[COMPORTS]\nCOM4=inproc:panel\nCOM6=inproc:panel\n");
    SavePortNumber(4);
    StartPanel();
    EXPECT_TRUE(g_link.IsOpen());
    CTavrinoxDlg::RegisterDialog(kPortSetupDialog, [](int) {
        return PanelDialogResult{.accepted = true, .chosenNumber = 6};
    });
    panel->Toggle(20)->Press();
    CTavrinoxDlg::UnregisterDialog(kPortSetupDialog);
    panel.reset();
    EXPECT_EQ(ReadSavedPort(), 6);
}

TEST_F(ConfigurationTest, ThePointerIsHiddenUnlessVisibleIsExactlyTrue) {
    UseConfiguration("[MOUSE]\nVISIBLE=true\n");
    StartPanel();
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
    panel.reset();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    for (const char* config : {"[MOUSE]\nVISIBLE=TRUE\n", ""}) {
        UseConfiguration(config);
        StartPanel();
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << config;
    }
}

}  // namespace
