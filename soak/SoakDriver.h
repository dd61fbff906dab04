#pragma once

#include <QTemporaryDir>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/Clock.h"
#include "platform/InProcessLine.h"
#include "platform/Prompter.h"
#include "sim/line/SimLine.h"
#include "soak/FaultSchedule.h"
#include "soak/SoakOptions.h"
#include "soak/SoakReport.h"

class CTavrinoxDlg;

// A check that broke: which, what it saw, when (simulated ms since the start) and the fault
// that held or had just cleared.
struct SoakFailure {
    std::string check;
    std::string detail;
    uint64_t at_ms = 0;
    std::string fault;
    // One line with the seed, so the run can be repeated.
    std::string Describe(uint64_t seed) const;
};

// The panel window on an in-process line of simulated units, on the virtual clock, with its
// window timers played by hand, put through random faults and ordinary user work for a long
// simulated time. Needs a QApplication; owns the program-wide records while it lives (one
// driver at a time).
//
// Between faults the user turns knobs, presses menu and function buttons and selects other
// units. Each fault holds for a while, then clears. The checks: after every fault and every
// stretch of user work the panel is back at work with its unit within kRecoveryBound_ms and
// its tables hold the unit's values; while a fault holds the tables do not change; no call
// into the panel blocks longer than kLongestBlockingCall_ms; the resident set grows less than
// kResidentGrowthLimit after the warm-up.
class SoakDriver {
  public:
    explicit SoakDriver(const SoakOptions& options);
    ~SoakDriver();
    SoakDriver(const SoakDriver&) = delete;
    SoakDriver& operator=(const SoakDriver&) = delete;

    // Runs the whole soak; the first failed check ends it.
    std::optional<SoakFailure> Run();
    const SoakReport& Report() const { return m_report; }

    // Called after every poll tick while a fault holds, before the tables are compared.
    void SetHoldObserver(std::function<void()> observer) { m_holdObserver = std::move(observer); }
    SimLine& Line() { return m_sim; }

  private:
    class BoxCounter : public Prompter {
      public:
        PromptAnswer Show(const std::string&, const std::string&, PromptIcon,
                          PromptButtons buttons) override {
            ++boxes;
            return buttons == PromptButtons::YesNo ? PromptAnswer::Yes : PromptAnswer::Ok;
        }
        int boxes = 0;
    };

    bool Start();
    // One 100 ms tick of the window timers that run.
    void Tick();
    // Runs one call into the panel and holds it to the blocking bound.
    void Timed(const std::string& name, const std::function<void()>& call);
    void DoUserWork();
    void TurnKnob();
    void PressFunctionButton();
    void PressMenuButton();
    void SelectAnotherUnit();
    void HoldFault(const PlannedFault& fault);
    // Ticks until the panel is back at work with its unit and its tables hold the unit's
    // values; false (with the failure recorded) after kRecoveryBound_ms.
    bool WaitUntilSynced(const std::string& after, uint32_t& took_ms);
    // Empty when the panel works with its selected unit and holds its values, else why not.
    std::string NotSyncedBecause();
    std::vector<int> UnitsOnLine();
    int Pick(int low, int high);
    uint32_t Now() { return m_time.clock.TickCount(); }
    void Fail(const std::string& check, const std::string& detail);

    SoakOptions m_options;
    ScopedVirtualClock m_time{1000};
    SimLine m_sim;
    InProcessLine m_line{&m_sim};
    BoxCounter m_prompter;
    QTemporaryDir m_dir;
    std::unique_ptr<CTavrinoxDlg> m_panel;
    FaultSchedule m_schedule;
    FaultSwitch m_switch{m_sim, m_line};
    SoakReport m_report;
    std::function<void()> m_holdObserver;

    uint64_t m_elapsed_ms = 0;
    uint32_t m_lastTick = 0;
    std::string m_fault = "none yet";
    std::optional<SoakFailure> m_failure;
};
