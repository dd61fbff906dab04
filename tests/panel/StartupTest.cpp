// The panel from construction to its first polls: controls in place, the port of the run
// opened, the unit search finding the units on the line.
#include <QAccessible>

#include "controls/CBitmapSlider.h"
#include "controls/CCanvasCtrl.h"
#include "controls/CImageTextButton.h"
#include "controls/CImageToggleButton.h"
#include "controls/CInfoBar.h"
#include "controls/CLabel.h"
#include "controls/COnLineBar.h"
#include "controls/CSettingsBar.h"
#include "link/SerialCom.h"
#include "platform/PortNames.h"
#include "tests/panel/PanelFixture.h"

namespace {

using StartupTest = PanelFixture;

QRect Place(QWidget* widget) {
    return widget->geometry();
}

TEST_F(StartupTest, SearchFindsTheUnitsOnTheLineAndArmsThePoll) {
    EXPECT_EQ(g_mainPanel, panel.get());
    EXPECT_EQ(panel->windowTitle(), "Virtual Control Panel");
    EXPECT_EQ(panel->size(), QSize(1280, 760));
    EXPECT_TRUE(g_link.IsOpen());
    EXPECT_EQ(g_link.DeviceName(), "inproc:panel");
    EXPECT_TRUE(prompter.boxes.empty());

    EXPECT_EQ(panel->InfoBar()->Message(), "Select an Online Main Unit!");
    EXPECT_TRUE(panel->Timers().IsActive(kPollTimer));
    EXPECT_FALSE(panel->Timers().IsActive(kKeyScanTimer));
    EXPECT_EQ(g_currentUnitAddress, 0);
    for (int unit = 1; unit <= 4; ++unit) {
        const bool present = unit == 1 || unit == 3;
        EXPECT_EQ((g_panelModel.m_lampBits[unit] & 1) != 0, present) << unit;
        EXPECT_EQ(panel->AnsweringAddress(unit), present ? unit << 4 : 0) << unit;
        EXPECT_EQ(g_panelModel.m_currentMenu[unit], -1);
    }
    panel->OnLineBar()->PlaceLamps();
    EXPECT_EQ(panel->findChild<QWidget*>("onLineLamp1")->geometry(),
              panel->OnLineBar()->OnLineRect(0));
    EXPECT_EQ(panel->findChild<QWidget*>("onLineLamp2")->geometry(), QRect(0, 0, 0, 0));
    EXPECT_EQ(panel->findChild<QWidget*>("onLineLamp3")->geometry(),
              panel->OnLineBar()->OnLineRect(2));

    // Polling without a selected unit only asks the others who is there.
    line.TakeWritten();
    RunPollTicks(8);
    EXPECT_FALSE(line.TakeWritten().empty());
    EXPECT_EQ(g_currentUnitAddress, 0);
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(StartupTest, ControlsSitWhereTheSkinDrawsThem) {
    EXPECT_EQ(Place(panel->Knob(0)), QRect(384, 65, 34, 87));
    EXPECT_EQ(Place(panel->Knob(7)), QRect(1232, 574, 34, 87));
    EXPECT_EQ(Place(panel->KnobDisplay(0)), QRect(425, 65, 148, 91));
    EXPECT_EQ(Place(panel->KnobDisplay(6)), QRect(1077, 405, 148, 91));
    EXPECT_EQ(panel->KnobDisplay(0)->property("controlId").toInt(), 1016);
    EXPECT_EQ(Place(panel->MenuButton(3)), QRect(607, 228, 74, 33));
    EXPECT_EQ(Place(panel->FunctionButton(5)), QRect(982, 370, 76, 35));
    EXPECT_EQ(Place(panel->Toggle(0)), QRect(97, 164, 32, 32));
    EXPECT_EQ(Place(panel->Toggle(20)), QRect(28, 452, 32, 32));
    EXPECT_EQ(Place(panel->TitleLabel()), QRect(600, 99, 450, 30));
    EXPECT_EQ(panel->SettingsBar()->pos(), QPoint(596, 625));
    EXPECT_EQ(Place(panel->UnitIcon(2)), QRect(235, 121, 32, 32));
    EXPECT_EQ(Place(panel->FunctionIcon(3)), QRect(234, 602, 32, 32));
    EXPECT_FALSE(panel->UnitIcon(0)->isVisibleTo(panel.get()));

    EXPECT_EQ(panel->Toggle(6)->property("label").toString(), "VIEW MATTE");

    // Only the "no unit" badge shows before a unit's menus are read.
    for (int i = 0; i < CTavrinoxDlg::kBadges; ++i) {
        EXPECT_EQ(panel->ModelBadge(i)->isVisibleTo(panel.get()), i == 8) << i;
        EXPECT_EQ(Place(panel->ModelBadge(i)), QRect(725, 65, 200, 28));
    }

    // Tab walks the keys as printed, then the screen's buttons, then the knobs.
    EXPECT_EQ(panel->Toggle(0)->nextInFocusChain(), panel->Toggle(1));
    EXPECT_EQ(panel->Toggle(20)->nextInFocusChain(), panel->Toggle(10));  // PREFS, MENU FG
    QAccessibleInterface* key = QAccessible::queryAccessibleInterface(panel->Toggle(8));
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->text(QAccessible::Name), "MENU MATTE");
    EXPECT_FALSE(key->state().checked);
}

}  // namespace
