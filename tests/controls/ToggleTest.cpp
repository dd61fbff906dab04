#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "controls/CImageToggleButton.h"
#include "link/SerialCom.h"
#include "platform/InProcessLine.h"
#include "platform/PortNames.h"
#include "platform/ResourceIds.h"
#include "tests/controls/ControlsTestSupport.h"
#include "tests/support/ScriptedPrompter.h"

namespace {

class ToggleTest : public ControlsTest {
  protected:
    void SetUp() override {
        ControlsTest::SetUp();
        panel.resize(100, 100);
        toggle.resize(32, 32);
        toggle.SetBitmaps(ResourceId::kToggleShortcutOn, ResourceId::kToggleKeyOff, 0);
        toggle.SetActions(&actions);
        panel.show();
    }

    void Click() {
        const QPointF local(16, 16);
        QMouseEvent press(QEvent::MouseButtonPress, local, toggle.mapToGlobal(local),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&toggle, &press);
    }

    void DoubleClick() {
        Click();
        const QPointF local(16, 16);
        QMouseEvent second(QEvent::MouseButtonDblClick, local, toggle.mapToGlobal(local),
                           Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&toggle, &second);
    }

    // Unit `unit` selected, answering, with its menus loaded.
    static void SelectLoadedUnit(int unit) {
        g_currentUnitAddress = AddressOfUnit(unit);
        g_unitStatus[kStatusByteModel] = 11;
        g_panelModel.m_currentMenu[unit] = 0;
    }

    QWidget panel;
    CImageToggleButton toggle{&panel};
    FakePanel actions;
};

TEST_F(ToggleTest, KindsThatNeedAUnitDoNothingWithoutOne) {
    const ToggleKind kinds[] = {ToggleKind::MenuShortcut, ToggleKind::View, ToggleKind::Memory,
                                ToggleKind::FileClear, ToggleKind::AttributeLatch};
    for (ToggleKind kind : kinds) {
        toggle.SetKind(kind, 7);
        Click();
    }
    EXPECT_TRUE(actions.calls.empty());
    EXPECT_FALSE(toggle.IsOn());
    EXPECT_EQ(g_panelModel.m_lampBits[0], 0);

    // Nor while the selected unit's menus are not loaded, or it did not answer its last poll:
    // only the latch flips.
    SelectLoadedUnit(2);
    g_panelModel.m_currentMenu[2] = -1;
    for (ToggleKind kind : kinds) {
        toggle.SetKind(kind, 7);
        Click();
    }
    g_panelModel.m_currentMenu[2] = 0;
    g_unitStatus[kStatusByteModel] = 0;
    for (ToggleKind kind : kinds) {
        toggle.SetKind(kind, 7);
        Click();
    }
    EXPECT_TRUE(actions.calls.empty());
    EXPECT_EQ(g_panelModel.m_lampBits[0], 0) << "flipped twice";
}

TEST_F(ToggleTest, EachKindRunsItsPanelAction) {
    SelectLoadedUnit(2);
    const std::pair<ToggleKind, int> presses[] = {{ToggleKind::MenuShortcut, 26},
                                                  {ToggleKind::View, 130},
                                                  {ToggleKind::UnitSelect, 3},
                                                  {ToggleKind::Memory, 4}};
    for (const auto& [kind, number] : presses) {
        toggle.SetKind(kind, number);
        Click();
    }
    const std::vector<std::string> expected = {"SelectShortcut 26", "SelectView 130",
                                               "SelectUnit 3", "RecallMemory 4"};
    EXPECT_EQ(actions.calls, expected);
}

// The second click of a double-click is no press: a hurried user recalls a memory or
// selects a unit once, not twice over the line.
TEST_F(ToggleTest, DoubleClickIsOnePress) {
    SelectLoadedUnit(1);
    const std::pair<ToggleKind, int> presses[] = {
        {ToggleKind::Memory, 2}, {ToggleKind::UnitSelect, 1}, {ToggleKind::FileClear, 0}};
    for (const auto& [kind, number] : presses) {
        toggle.SetKind(kind, number);
        DoubleClick();
    }
    const std::vector<std::string> expected = {"RecallMemory 2", "SelectUnit 1", "ClearFiles"};
    EXPECT_EQ(actions.calls, expected);

    toggle.SetOn(false);
    toggle.SetKind(ToggleKind::AttributeLatch, 0);
    DoubleClick();
    EXPECT_TRUE(toggle.IsOn());
    EXPECT_EQ(g_panelModel.m_lampBits[0] & 0x10, 0x10);
}

TEST_F(ToggleTest, UnitSelectWorksWithoutASelectedUnit) {
    toggle.SetKind(ToggleKind::UnitSelect, 1);
    Click();
    EXPECT_EQ(actions.calls, std::vector<std::string>{"SelectUnit 1"});
}

TEST_F(ToggleTest, FileClearLightsItselfBeforeClearing) {
    SelectLoadedUnit(1);
    toggle.SetKind(ToggleKind::FileClear, 0);
    Click();
    EXPECT_TRUE(toggle.IsOn());
    EXPECT_EQ(actions.calls, std::vector<std::string>{"ClearFiles"});
}

TEST_F(ToggleTest, LatchTogglesBitAndPicture) {
    g_currentUnitAddress = 0x10;
    g_panelModel.m_lampBits[0] = 0x01;
    toggle.SetKind(ToggleKind::AttributeLatch, 0);
    const QImage off = Grab(toggle);
    Click();
    EXPECT_TRUE(toggle.IsOn());
    EXPECT_EQ(g_panelModel.m_lampBits[0], 0x11);
    EXPECT_NE(Grab(toggle), off);
    Click();
    EXPECT_FALSE(toggle.IsOn());
    EXPECT_EQ(g_panelModel.m_lampBits[0], 0x01);
    EXPECT_EQ(Grab(toggle), off);
    EXPECT_TRUE(actions.calls.empty());
}

TEST_F(ToggleTest, SpaceBarFlipsThePictureWithoutTheAction) {
    g_currentUnitAddress = 0x10;
    toggle.SetKind(ToggleKind::MenuShortcut, 7);
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
    QApplication::sendEvent(&toggle, &space);
    EXPECT_TRUE(toggle.IsOn());
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QString(" "), true);
    QApplication::sendEvent(&toggle, &repeat);
    EXPECT_TRUE(toggle.IsOn()) << "a held space bar flips once";
    EXPECT_TRUE(actions.calls.empty());
}

// The setup key against ports that do and do not open.
class SetupToggleTest : public ToggleTest {
  protected:
    void SetUp() override {
        ToggleTest::SetUp();
        RegisterInProcessLine("setup-line", &line);
        PortNames().SetOverride(2, "inproc:setup-line");
        PortNames().SetOverride(16, "inproc:no-such-line");
        SetPrompter(&prompter);
        g_panelModel.m_portNumber = 3;
        toggle.SetKind(ToggleKind::Setup, 0);
    }
    void TearDown() override {
        g_link.Close();
        PortNames().ClearOverrides();
        UnregisterInProcessLine("setup-line");
        SetPrompter(nullptr);
        ToggleTest::TearDown();
    }

    InProcessLine line;
    ScriptedPrompter prompter;
};

TEST_F(SetupToggleTest, CancelledSetupKeepsThePortAndRestartsPolling) {
    Click();
    EXPECT_EQ(actions.calls, std::vector<std::string>{"RunPortSetup 3"});
    EXPECT_FALSE(actions.pollingDuringDialog);
    EXPECT_TRUE(actions.polling);
    EXPECT_EQ(g_panelModel.m_portNumber, 3);
}

TEST_F(SetupToggleTest, PortThatOpensIsTaken) {
    actions.chosenPort = 2;
    Click();
    EXPECT_EQ(g_panelModel.m_portNumber, 2);
    EXPECT_TRUE(g_link.IsOpen());
    EXPECT_TRUE(actions.polling);
}

TEST_F(SetupToggleTest, PortThatCannotOpenKeepsThePreviousOne) {
    actions.chosenPort = 16;
    Click();
    EXPECT_EQ(g_panelModel.m_portNumber, 3);
    EXPECT_EQ(actions.stops, 1);
    EXPECT_EQ(actions.resumes, 1);
}

TEST_F(ToggleTest, MissingPictureDrawsNothing) {
    toggle.SetBitmaps(0, 0, 0);
    toggle.SetOn(true);
    const QImage picture = GrabOwnPaint(toggle);
    EXPECT_EQ(picture.pixelColor(16, 16).alpha(), 0);
}

}  // namespace
