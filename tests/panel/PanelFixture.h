#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "panel/CTavrinoxDlg.h"
#include "platform/Clock.h"
#include "platform/InProcessLine.h"
#include "sim/line/SimLine.h"
#include "tests/support/ScriptedPrompter.h"

// The panel on an in-process line of simulated units, on the virtual clock, with scripted
// message boxes and fresh program-wide records. SetUp puts the units of Units() on the line
// (by default unit 1, a full-family model 11, and unit 3, a compact model 4), constructs the
// panel and runs its start-up (OnInitDialog) with this run's port set to the line.
//
// No event loop runs: RunPollTicks plays the window timers by hand, 100 ms of virtual time
// per tick. Configuration files and the per-user settings live in a temporary folder.
class PanelFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The units on the line at start-up.
    virtual std::vector<UnitEntry> Units() const { return {{1, 11}, {3, 4}}; }
    // False: SetUp stops before the panel starts, so a test can prepare (UseConfiguration)
    // and call StartPanel itself.
    virtual bool StartInSetUp() const { return true; }

    // Constructs the panel and runs OnInitDialog.
    void StartPanel();
    // Writes `text` as this run's configuration file (as --config names it).
    void UseConfiguration(const std::string& text);

    // `ticks` ticks of kPollTimer, each 100 ms after the one before, with kKeyScanTimer and
    // kPromptTimer when they run and kMessageClearTimer once its 3 s are up. A stopped
    // kPollTimer does nothing.
    void RunPollTicks(int ticks);
    // Ticks until `done` holds, at most `limit` ticks; whether it came to hold.
    bool RunPollTicksUntil(const std::function<bool()>& done, int limit = 200);
    // What pressing the unit's toggle does; the simulated unit.
    SimUnit& SelectUnit(int number);

    SimUnit& Unit(int number);
    uint32_t Now() { return time.clock.TickCount(); }

    ScopedVirtualClock time{1000};
    SimLine sim;
    InProcessLine line{&sim};
    ScriptedPrompter prompter;
    std::unique_ptr<CTavrinoxDlg> panel;
    static constexpr const char* kLineName = "panel";

  private:
    QTemporaryDir m_dir;
};
