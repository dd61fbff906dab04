// Knob-display double-clicks, toggle lamps, views, shortcuts, memories and file clear
// against simulated units.
#include <gtest/gtest.h>

#include <QLabel>

#include "controls/CCanvasCtrl.h"
#include "controls/CImageToggleButton.h"
#include "controls/CInfoBar.h"
#include "link/ParameterCommands.h"
#include "tests/panel/PanelStoryTest.h"

namespace {

class KnobsAndTogglesTest : public PanelStoryTest {
  protected:
    // Whether the toggle of template id 1125..1145 is lit.
    bool Lit(int id) const { return panel->Toggle(id - 1125)->IsOn(); }
    bool AnyViewLit() const { return Lit(1129) || Lit(1130) || Lit(1131); }
};

TEST_F(KnobsAndTogglesTest, DoubleClickRestoresOrSendsTheLocalValue) {
    const int initial = Unit(1).Value(0);
    Unit(1).SetValue(0, initial + 40);
    Unit(1).SetValue(3, 77);
    Select(1);
    panel->Console().OnKnobDisplayDoubleClick(0);
    EXPECT_EQ(Unit(1).Value(0), initial);
    EXPECT_EQ(g_paramTable[0].value, initial);

    // A hidden display sends nothing but every display is bound again.
    panel->Console().OnMenuButton(2);
    ASSERT_FALSE(panel->KnobDisplay(5)->IsActive());
    panel->KnobDisplay(0)->Bind(&g_paramTable[60]);
    panel->Console().OnKnobDisplayDoubleClick(5);
    EXPECT_EQ(Unit(1).Value(3), 77);
    EXPECT_EQ(panel->KnobDisplay(0)->Param(), &g_paramTable[8]);

    // With the latch the display's parameter gets its attributes instead.
    const std::vector<int>& asked = Record(kAttributeDialog);
    SetLatch();
    panel->Console().OnKnobDisplayDoubleClick(1);
    EXPECT_EQ(asked, std::vector<int>{9});
    EXPECT_FALSE(Lit(1137));

    // Menu 15 of models 5, 7 and 9 steps on the panel; the double-click sends that value.
    Select(3);
    panel->Console().SelectShortcut(15);
    g_paramTable[93].value = 9;
    panel->Console().ShowMessage("Double click control to update Main Unit.");
    panel->Console().OnKnobDisplayDoubleClick(0);
    EXPECT_EQ(Unit(3).Value(93), 9);
    EXPECT_EQ(panel->InfoBar()->Message(), "");
    // Model 4 restores the default there like everywhere else.
    Select(2);
    panel->Console().SelectShortcut(15);
    g_paramTable[93].value = 9;
    panel->Console().OnKnobDisplayDoubleClick(0);
    EXPECT_EQ(Unit(2).Value(93), 0);
}

TEST_F(KnobsAndTogglesTest, LampsFollowFunctionsMenusAndViews) {
    SimUnit& unit = Unit(1);
    unit.SetValue(130, 1);
    unit.SetValue(221, 1);
    unit.SetValue(218, 1);
    Select(1);
    EXPECT_TRUE(Lit(1130));
    EXPECT_EQ(g_panelModel.m_viewSelect, 130);
    EXPECT_TRUE(Lit(1142));  // memory 3
    EXPECT_FALSE(Lit(1140));
    EXPECT_TRUE(Lit(1125));  // unit 1
    EXPECT_FALSE(panel->FunctionIcon(0)->isHidden());
    EXPECT_TRUE(panel->FunctionIcon(1)->isHidden());

    // A full update keeps the shortcut lamps it had; a partial one recomputes them.
    g_panelModel.m_unitMenu[1] = 7;
    panel->Console().UpdateLamps(true);
    g_panelModel.m_unitMenu[1] = 18;
    panel->Console().UpdateLamps(true);
    EXPECT_TRUE(Lit(1135) && Lit(1136));
    panel->Console().UpdateLamps(false);
    EXPECT_FALSE(Lit(1135));
    EXPECT_TRUE(Lit(1136));

    // The lit view pressed again goes off and leaves none active.
    panel->Console().SelectView(130);
    EXPECT_EQ(unit.Value(130), 0);
    EXPECT_FALSE(AnyViewLit());
    EXPECT_EQ(g_panelModel.m_viewSelect, 131);
    panel->Console().SelectView(129);
    EXPECT_EQ(unit.Value(129), 1);
    EXPECT_TRUE(Lit(1129));

    // Shortcut 11 shows the alternative background while function 161 is on.
    unit.SetValue(161, 1);
    static_cast<void>(ReadParameterValues());
    panel->Console().SelectShortcut(11);
    EXPECT_EQ(Menu(), 30);
    EXPECT_TRUE(Lit(1138));
}

TEST_F(KnobsAndTogglesTest, FileClearWaitsOutTheBusyUnit) {
    SimUnit& unit = Unit(1);
    unit.SetValue(130, 1);
    Select(1);
    const uint32_t start_ms = Now();
    panel->Console().ClearFiles();
    EXPECT_GE(Now() - start_ms, kClearFilesBusy_ms + 2000);
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_EQ(unit.Value(130), 0);  // the unit is back to its defaults
    EXPECT_FALSE(AnyViewLit());
    EXPECT_EQ(panel->InfoBar()->Alert(), "");

    // A unit that never stops being busy is given up on, and the user told.
    unit.SetBusy(true);
    const uint32_t stuck_ms = Now();
    panel->Console().ClearFiles();
    EXPECT_LT(Now() - stuck_ms, 200000u);
    EXPECT_EQ(LastBox(), "Communication Error: Function did not complete!");

    // A unit that stops answering ends the wait at once.
    unit.SetBusy(false);
    unit.SetPower(false);
    const uint32_t silent_ms = Now();
    panel->Console().ClearFiles();
    EXPECT_LT(Now() - silent_ms, 10000u);
    EXPECT_EQ(prompter.boxes.size(), 2u);
}

}  // namespace
