// The panel in this process on the real clock, its exchanges on the line's own thread,
// against vcp-sim on a pseudo-terminal: a unit that flags changed values but never answers
// their read leaves the window answering, and once it answers the panel shows the new value.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <functional>

#include "console/LineBeside.h"
#include "controls/CInfoBar.h"
#include "link/SerialCom.h"
#include "panel/CTavrinoxDlg.h"
#include "platform/PortNames.h"
#include "tests/support/RunEventsUntil.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/SimProcess.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

TEST(WindowAnswersEndToEndTest, UnitIgnoringItsValueReadsLeavesTheWindowAnswering) {
    SimProcess sim;
    ASSERT_TRUE(sim.Start("1:11,2:4"));
    ResetProgramState();
    ScriptedPrompter prompter;
    SetPrompter(&prompter);
    CTavrinoxDlg::SetRunPort(sim.LinePath());
    // Whatever the outcome, the next test finds the link closed and the records fresh.
    struct Cleanup {
        ~Cleanup() {
            g_link.Close();
            CTavrinoxDlg::SetRunPort("");
            PortNames().SetRunOverride("");
            SetPrompter(nullptr);
            ResetProgramState();
        }
    } cleanup;
    {
        LineBeside lineBeside;
        CTavrinoxDlg panel;
        panel.OnInitDialog();
        panel.Console().SelectUnit(1);
        ASSERT_TRUE(RunEventsUntil(
            [&] {
                return panel.SelectedUnit() == 1 && g_panelModel.m_currentMenu[1] != -1 &&
                       panel.InfoBar()->Alert().empty();
            },
            15000));
        ASSERT_NE(g_paramTable[0].value, 600);

        sim.Control("fault 1 ignore 0xAC");
        ASSERT_NE(sim.ControlReply("set 1 0 600"), "");
        // The longest gap between the ticks of a 10 ms timer of the window's thread.
        SteadyClock::time_point last = SteadyClock::now();
        SteadyClock::duration longest{};
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            longest = std::max(longest, SteadyClock::now() - last);
            last = SteadyClock::now();
        });
        tick.start(10);
        RunEventsUntil([] { return false; }, 3000);
        longest = std::max(longest, SteadyClock::now() - last);
        EXPECT_LT(longest - std::chrono::milliseconds(10), std::chrono::milliseconds(1000));
        EXPECT_EQ(panel.SelectedUnit(), 1);
        EXPECT_NE(g_panelModel.m_currentMenu[1], -1) << "the unit answers its status polls";

        sim.Control("fault 1 clear");
        EXPECT_TRUE(RunEventsUntil([] { return g_paramTable[0].value == 600; }, 10000));
    }
}

}  // namespace
