#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "console/HardKeys.h"
#include "console/PanelActions.h"
#include "console/PanelConsole.h"
#include "platform/WindowWait.h"
#include "tests/console/FakeView.h"
#include "tests/support/LinkFixture.h"
#include "tests/support/ModelRecords.h"
#include "tests/support/WidgetApplication.h"

// The named actions on the controller with a recording window: the rules every source meets,
// and the one queue in which actions asked for during a wait are resolved when their turn
// comes.

namespace {

constexpr int kClipFunction = 40;  // an offset into the function table

// Menu 0 leads from button n to menu n + 1; function button 2 of menu 4 is CLIP, and function
// button 0 of menu 0 a plain function.
void LoadMenus() {
    for (int button = 1; button < 10; ++button) {
        g_menuTable[0].entry[button] = static_cast<int16_t>(button + 1);
    }
    g_menuTable[0].entry[10] = kFirstFunctionNumber + 1;
    g_menuTable[4].entry[12] = kFirstFunctionNumber + kClipFunction;
    g_functionTable[kClipFunction] = MakeFunction(kFirstFunctionNumber + kClipFunction, 0, "CLIP");
    g_functionTable[kClipFunction].maxValue = 1;
    g_functionTable[1] = MakeFunction(kFirstFunctionNumber + 1, 0, "KEY");
    g_functionTable[1].maxValue = 1;
}

// `record` as parameter 20 of the table, on knob `knob` of menu 0.
ParamRecord& BindToKnob(int knob, const ParamRecord& record) {
    constexpr int kNumber = 20;
    g_paramTable[kNumber] = record;
    g_paramTable[kNumber].number = kNumber;
    g_menuTable[0].knobParam[knob] = kNumber;
    return g_paramTable[kNumber];
}

[[maybe_unused]] auto* const g_qtEnvironment = AddWidgetApplication("vcp_test_console");

const ActionOrigin kClient{ActionSource::Network, "127.0.0.1:5000"};
const ActionOrigin kSurface{ActionSource::Surface, "X-Touch"};
const ActionOrigin kDesk{ActionSource::Mouse, ""};

// The menus' reads go to a line that does not answer, on the virtual clock.
class PanelActionsTest : public LinkFixture, public PanelStateListener {
  protected:
    void SetUp() override {
        LinkFixture::SetUp();
        LoadMenus();
    }

    // Runs `asks` inside a wait, as a client's commands arrive while the line works, then
    // lets the queue run.
    void DuringAWait(const std::function<void()>& asks) {
        bool asked = false;
        QTimer::singleShot(0, [&] {
            asks();
            asked = true;
        });
        WindowWait::Until([&] { return asked; });
        for (int turn = 0; turn < 100 && WindowWait::HeldCount() > 0; ++turn) {
            QCoreApplication::processEvents();
        }
    }

    void OnPanelState(const PanelState&) override {}
    void OnActionRefused(const ActionOrigin& origin, const std::string& reason) override {
        refusals.push_back(origin.client + ": " + reason);
    }

    FakeView panel;
    PanelConsole console{panel};
    PanelActions actions{console};
    std::vector<std::string> refusals;
};

// The set parameter requests sent since request `from`, as (number, value).
std::vector<std::pair<int, int>> SetSince(const ScriptedPeer& peer, size_t from) {
    std::vector<std::pair<int, int>> set;
    for (size_t n = from; n < peer.Requests().size(); ++n) {
        if (const std::vector<uint8_t>& request = peer.Requests()[n]; request.size() == 6) {
            set.emplace_back(request[3], request[4]);
        }
    }
    return set;
}

TEST_F(PanelActionsTest, HardKeysNeedTheirUnitAndMenusWhenTheyRun) {
    for (const char* label : {"MENU FG", "VIEW BG", "MEM 2", "FILE CLEAR", "ALT"}) {
        EXPECT_FALSE(actions.PressToggle(label, kDesk).taken) << label;
    }
    EXPECT_TRUE(actions.PressToggle(" unit 3 ", kDesk).taken) << "labels match as read";
    EXPECT_TRUE(actions.PressToggle("PREFS", kDesk).taken);
    EXPECT_EQ(panel.calls, (std::vector<std::string>{"setup 1"}));

    g_currentUnitAddress = AddressOfUnit(1);
    EXPECT_EQ(actions.PressToggle("MEM 2", kDesk).reason,
              "The selected unit's menus are not loaded yet.");
    FakeView::SelectLoadedUnit(1);
    for (const HardKey& key : HardKeys()) {
        if (key.kind != ToggleKind::FileClear) {
            EXPECT_TRUE(actions.PressToggle(key.label, kDesk).taken) << key.label;
        }
    }
    EXPECT_EQ(actions.PressToggle("NO SUCH KEY", kDesk).reason,
              "The panel has no key \"NO SUCH KEY\".");

    // A store is a recall with the latch: the memory's indicator goes off, then the recall;
    // a recall recalls even with the operator's ALT lit.
    g_panelModel.m_lampBits[0] = 0;
    size_t before = peer.Requests().size();
    EXPECT_TRUE(actions.StoreMemory(4, kClient).taken);
    EXPECT_EQ(SetSince(peer, before), (std::vector<std::pair<int, int>>{{225, 0}, {219, 0}}));
    EXPECT_FALSE(console.AttributeLatchSet());
    console.FlipAttributeLatch();
    before = peer.Requests().size();
    EXPECT_TRUE(actions.RecallMemory(4, kClient).taken);
    EXPECT_EQ(SetSince(peer, before), (std::vector<std::pair<int, int>>{{219, 0}}));
}

// The setup key opens the chosen port, or keeps the one it had when that cannot open; the
// information line gets its message back and the polls run again either way.
TEST_F(PanelActionsTest, TheSetupKeyOpensTheChosenPortOrKeepsTheOneItHad) {
    console.ShowMessage("Key on air");
    panel.chosenPort = 4;
    EXPECT_TRUE(actions.PressToggle("PREFS", kDesk).taken);
    EXPECT_EQ(g_panelModel.m_portNumber, 4);
    EXPECT_EQ(panel.line, "Key on air");
    EXPECT_FALSE(console.PollingStopped());

    UnregisterInProcessLine(kLineName);
    panel.chosenPort = 6;
    EXPECT_TRUE(actions.PressToggle("PREFS", kDesk).taken);
    EXPECT_EQ(g_panelModel.m_portNumber, 4);
    EXPECT_EQ(prompter.boxes.size(), 1U);
    EXPECT_EQ(panel.line, "Key on air");
    EXPECT_FALSE(console.PollingStopped());
    RegisterInProcessLine(kLineName, &line);
}

TEST_F(PanelActionsTest, ANetworkClientOpensNoDialogAndNoSourceButTheDeskClearsTheFiles) {
    FakeView::SelectLoadedUnit(1);
    g_menuTable[3].flags = kFlagMenuOpensDialog;  // menu button 2 of menu 0 leads to it
    const std::string dialog =
        "That opens a dialog on the panel; only the operator at the panel can do that.";
    EXPECT_EQ(actions.PressMenuButton(2, kClient).reason, dialog);
    EXPECT_EQ(actions.PressMenuButton(7, kClient).reason, dialog) << "the files";
    EXPECT_EQ(actions.PressToggle("PREFS", kClient).reason,
              "The port setup is done at the panel only.");
    for (const ActionOrigin& origin : {kClient, kSurface}) {
        EXPECT_EQ(actions.PressLabelled("file clear", origin).reason,
                  "FILE CLEAR clears the unit's files: press it on the panel.");
    }
    console.FlipAttributeLatch();
    EXPECT_EQ(actions.PressFunctionButton(0, kClient).reason, dialog) << "the attributes";
    EXPECT_EQ(actions.PressKnobDisplay(0, kClient).reason, dialog);
    EXPECT_TRUE(panel.calls.empty());
    // The operator opens them all.
    EXPECT_TRUE(actions.PressMenuButton(2, kDesk).taken);
    EXPECT_TRUE(actions.PressToggle("PREFS", kSurface).taken);
    EXPECT_EQ(panel.calls, (std::vector<std::string>{"dialog 3", "setup 1"}));
}

TEST_F(PanelActionsTest, KnobsTurnWhatTheirDisplayShowsWhenTheTurnRuns) {
    FakeView::SelectLoadedUnit(1);
    EXPECT_EQ(actions.TurnKnob(2, 1, kClient).reason, "Knob 3 has nothing to turn here.");
    ParamRecord& wipe = BindToKnob(2, MakeParam("Wipe", kFlagStepped, 0, 9, 0, 9, 4));
    EXPECT_TRUE(actions.TurnKnob(2, 3, kClient).taken);
    EXPECT_TRUE(actions.DragKnob(2, -5, kClient).taken);
    EXPECT_EQ(wipe.value, 6) << "three steps up, then one tick down";
    EXPECT_EQ(panel.calls, (std::vector<std::string>{"redraw 2", "redraw 2"}));
    EXPECT_EQ(actions.TurnKnob(8, 1, kClient).reason,
              "Knob 9 does not exist: they are numbered 1 to 8.");
    console.OnLinkLost();
    EXPECT_EQ(actions.DragKnob(2, 1, kClient).reason, "The link to the selected unit is lost.");
}

TEST_F(PanelActionsTest, ALabelIsFoundAsThePanelShowsItWhenThePressRuns) {
    FakeView::SelectLoadedUnit(1);
    actions.AddListener(this);
    DuringAWait([&] {
        // The menu button that brings CLIP up, then CLIP, then a label no one shows.
        EXPECT_TRUE(actions.PressMenuButton(3, kClient).queued);
        EXPECT_TRUE(actions.PressLabelled("clip", kClient).queued);
        EXPECT_TRUE(actions.PressLabelled("WIPE", kClient).queued);
    });
    // The caption came with the menu's work; the queue ran each press after it.
    EXPECT_EQ(g_panelModel.m_currentMenu[1], 4);
    EXPECT_EQ(g_functionTable[kClipFunction].value, 1);
    EXPECT_EQ(console.Face().functionButtons[2], (ButtonState{"CLIP", true}));
    EXPECT_EQ(
        refusals,
        (std::vector<std::string>{"127.0.0.1:5000: The panel shows no key or button \"WIPE\"."}));
    actions.RemoveListener(this);
}

TEST_F(PanelActionsTest, TurnsMeetingAtTheQueuesEndGoAsOneAndATurnBehindAPressWaitsForIt) {
    FakeView::SelectLoadedUnit(1);
    ParamRecord& wipe = BindToKnob(0, MakeParam("Wipe", kFlagStepped, 0, 100, 0, 100, 10));
    // Menu 2, which menu button 1 leads to, has Size on knob 1.
    g_paramTable[21] = MakeParam("Size", kFlagStepped, 0, 100, 0, 100, 50);
    g_paramTable[21].number = 21;
    g_menuTable[2].knobParam[0] = 21;
    DuringAWait([&] {
        actions.TurnKnob(0, 2, kClient);
        actions.TurnKnob(0, 3, kClient);
        EXPECT_EQ(actions.PendingTurn(0), 5);
        EXPECT_EQ(WindowWait::HeldCount(), 1) << "one item for both turns";
        EXPECT_TRUE(console.PollingStopped()) << "waiting turns hold the polls";
        actions.PressMenuButton(1, kClient);
        actions.TurnKnob(0, 4, kClient);
        EXPECT_EQ(WindowWait::HeldCount(), 3);
    });
    EXPECT_EQ(wipe.value, 15);
    EXPECT_EQ(g_paramTable[21].value, 54) << "the turn behind the press turns the new menu's knob";
    EXPECT_EQ(panel.calls, (std::vector<std::string>{"redraw 0", "bind 0", "redraw 0"}));
    EXPECT_FALSE(console.PollingStopped());
    EXPECT_EQ(actions.PendingTurn(0), 0);
}

TEST_F(PanelActionsTest, SetTakesSignedValuesInsideTheRangeItHasWhenItRuns) {
    FakeView::SelectLoadedUnit(1);
    g_paramTable[3] = MakeParam("Position H", 0, -100, 100, -100, 100, 0);
    g_paramTable[3].number = 3;
    actions.AddListener(this);
    EXPECT_EQ(actions.SetParameter(3, -101, kClient).reason, "Parameter 3 takes -100 to 100.");
    EXPECT_EQ(actions.SetParameter(3, 40000, kClient).reason,
              "A value is sent in 16 bits: -32768 to 32767.");
    g_paramTable[4] = MakeParam("Level", 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(actions.SetParameter(4, 1, kClient).reason,
              "Parameter 4 has no range to set on this unit.");
    // Another unit's range, narrower, before the value's turn comes.
    panel.onBind = [] { g_paramTable[3].rawMin = -50; };
    DuringAWait([&] {
        actions.PressMenuButton(1, kClient);
        EXPECT_TRUE(actions.SetParameter(3, -90, kClient).queued);
    });
    EXPECT_EQ(refusals,
              (std::vector<std::string>{"127.0.0.1:5000: Parameter 3 takes -50 to 100."}));
    actions.RemoveListener(this);
}

TEST_F(PanelActionsTest, QueuedWorkWaitsForADialogToCloseAndAFullQueueRefuses) {
    FakeView::SelectLoadedUnit(1);
    QDialog dialog;
    std::string askedInside;
    DuringAWait([&] {
        // Work ahead in the queue opens a dialog; the press behind it waits for its close.
        WindowWait::WhenIdle(&dialog, [&] {
            QTimer::singleShot(20, [&] {
                askedInside = actions.PressMenuButton(6, kClient).reason;
                EXPECT_EQ(g_panelModel.m_currentMenu[1], 0) << "nothing runs inside the dialog";
                dialog.reject();
            });
            dialog.exec();
        });
        actions.PressMenuButton(5, kClient);
    });
    EXPECT_EQ(askedInside, "The panel has a dialog open; close it first.");
    EXPECT_EQ(g_panelModel.m_currentMenu[1], 6);

    panel.calls.clear();
    g_panelModel.m_currentMenu[1] = 0;
    actions.AddListener(this);
    DuringAWait([&] {
        for (int i = 0; i < WindowWait::kMostQueued; ++i) {
            actions.PressFunctionButton(0, kClient);
        }
        const ActionOutcome full = actions.PressFunctionButton(1, kClient);
        EXPECT_FALSE(full.taken);
        EXPECT_EQ(full.reason, "The panel has " + std::to_string(WindowWait::kMostQueued) +
                                   " actions waiting for the line; try again in a moment.");
    });
    // Each press is resolved when it runs: the first steps the function, the unit does not
    // answer its status, and every press after it is refused with the reason.
    EXPECT_EQ(std::count_if(peer.Requests().begin(), peer.Requests().end(),
                            [](const std::vector<uint8_t>& request) {
                                return request.size() == 6 &&
                                       request[3] == kFirstFunctionNumber + 1;
                            }),
              1);
    ASSERT_EQ(refusals.size(), static_cast<size_t>(WindowWait::kMostQueued - 1));
    EXPECT_EQ(refusals.back(), "127.0.0.1:5000: The selected unit's menus are not loaded yet.");
    actions.RemoveListener(this);
}

}  // namespace
