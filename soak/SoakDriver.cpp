#include "soak/SoakDriver.h"

#include <chrono>
#include <cstdio>
#include <fstream>

#include "app/ConfigLocation.h"
#include "app/ConfigStore.h"
#include "controls/CCanvasCtrl.h"
#include "controls/CImageToggleButton.h"
#include "controls/CInfoBar.h"
#include "link/LockoutCommands.h"
#include "link/SerialCom.h"
#include "link/StorageTables.h"
#include "panel/CTavrinoxDlg.h"
#include "soak/SoakChecks.h"

namespace {

const char* const kLineName = "soak";
const char* const kLostText = "Lost communication with Main Unit!";
constexpr int kLongestUserWork = 6;
constexpr int kMostTicksBetweenActions = 20;
constexpr int kLongestKnobTurn = 25;
// Share of the run before the resident set is first measured.
constexpr double kWarmUpShare = 0.1;

std::string ClockText(uint64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%llu:%02llu:%02llu.%03llu",
                  static_cast<unsigned long long>(ms / 3'600'000),
                  static_cast<unsigned long long>(ms / 60'000 % 60),
                  static_cast<unsigned long long>(ms / 1000 % 60),
                  static_cast<unsigned long long>(ms % 1000));
    return text;
}

}  // namespace

std::string SoakFailure::Describe(uint64_t seed) const {
    return "soak FAILED with --seed " + std::to_string(seed) + " at simulated " + ClockText(at_ms) +
           ", fault " + fault + ": " + check + ": " + detail;
}

SoakDriver::SoakDriver(const SoakOptions& options) : m_options(options), m_schedule(options.seed) {
    m_report.seed = options.seed;
    ResetProgramState();
    ResetOnAirLockTables();
    ResetStorageTables();
    g_configuration.Clear();
    for (const UnitEntry& entry : options.units) {
        m_sim.AddUnit(entry.number, entry.modelCode);
    }
    RegisterInProcessLine(kLineName, &m_line);
    SetPrompter(&m_prompter);
    // An empty configuration of the run's own: the user's is never read.
    const std::string config = m_dir.filePath("QN2.ini").toStdString();
    std::ofstream(config, std::ios::binary).flush();
    SetConfigurationOverride(config);
    CTavrinoxDlg::SetRunPort(std::string("inproc:") + kLineName);
    m_lastTick = Now();
}

SoakDriver::~SoakDriver() {
    m_panel.reset();
    g_link.Close();
    CSerialCom::SetFailureReaction(nullptr);
    CTavrinoxDlg::SetRunPort("");
    ClearConfigurationOverride();
    g_configuration.Clear();
    UnregisterInProcessLine(kLineName);
    SetPrompter(nullptr);
    ResetProgramState();
}

void SoakDriver::Fail(const std::string& check, const std::string& detail) {
    if (!m_failure) {
        m_failure = SoakFailure{check, detail, m_elapsed_ms, m_fault};
    }
}

int SoakDriver::Pick(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(m_schedule.Random());
}

void SoakDriver::Timed(const std::string& name, const std::function<void()>& call) {
    const uint32_t start = Now();
    call();
    const uint32_t took_ms = Now() - start;
    m_elapsed_ms += Now() - m_lastTick;
    m_lastTick = Now();
    m_report.CountCall(took_ms, name);
    if (took_ms > kLongestBlockingCall_ms) {
        Fail("a wait beyond its bound", name + " blocked the window for " +
                                            std::to_string(took_ms) + " ms, bound " +
                                            std::to_string(kLongestBlockingCall_ms) + " ms");
    }
}

void SoakDriver::Tick() {
    // The line keeps every byte the panel wrote until it is taken; a long run has no use for
    // them.
    static_cast<void>(m_line.TakeWritten());
    m_time.clock.Advance(kPollPeriod_ms);
    m_elapsed_ms += Now() - m_lastTick;
    m_lastTick = Now();
    WindowTimers& timers = m_panel->Timers();
    if (timers.IsActive(kPollTimer)) {
        Timed("the poll timer", [&] { m_panel->Console().OnPollTimer(); });
    }
    if (timers.IsActive(kPromptTimer)) {
        Timed("the prompt timer", [&] { m_panel->Console().OnPromptTimer(); });
    }
    if (timers.IsActive(kKeyScanTimer)) {
        Timed("the key scan timer", [&] { m_panel->Console().OnKeyScanTimer(); });
    }
    // The one-shot message timer fires once its time is up after it was armed.
    if (timers.PeriodElapsed(kMessageClearTimer)) {
        Timed("the message timer", [&] { m_panel->Console().OnMessageClearTimer(); });
    }
}

std::vector<int> SoakDriver::UnitsOnLine() {
    std::vector<int> units;
    for (int unit = 1; unit <= kMaxUnits; ++unit) {
        if (m_sim.Unit(unit) != nullptr) {
            units.push_back(unit);
        }
    }
    return units;
}

std::string SoakDriver::NotSyncedBecause() {
    const int unit = m_panel->SelectedUnit();
    SimUnit* simUnit = m_sim.Unit(unit);
    if (unit == 0 || simUnit == nullptr) {
        return "no unit selected";
    }
    if (!g_link.IsOpen()) {
        return "the link is closed";
    }
    if (g_panelModel.m_currentMenu[unit] == -1) {
        return "unit " + std::to_string(unit) + " has no menus";
    }
    if (m_panel->InfoBar()->Alert() == kLostText) {
        return "the panel shows the lost communication";
    }
    if (g_unitStatus[kStatusByteModel] != simUnit->Model().code ||
        g_panelModel.m_pollMissCount != 0) {
        return "the status poll of unit " + std::to_string(unit) + " fails";
    }
    const std::string mismatch = FirstMismatchWithUnit(*simUnit);
    return mismatch.empty() ? std::string() : "tables differ from the unit: " + mismatch;
}

bool SoakDriver::WaitUntilSynced(const std::string& after, uint32_t& took_ms) {
    const uint32_t start = Now();
    std::string why = NotSyncedBecause();
    while (!why.empty() && !m_failure) {
        if (Now() - start > kRecoveryBound_ms) {
            Fail("no recovery within " + std::to_string(kRecoveryBound_ms) + " ms",
                 "after " + after + ", " + why);
            return false;
        }
        Tick();
        why = NotSyncedBecause();
    }
    took_ms = Now() - start;
    return !m_failure;
}

bool SoakDriver::Start() {
    m_panel = std::make_unique<CTavrinoxDlg>();
    Timed("the start-up", [&] { m_panel->OnInitDialog(); });
    if (m_options.units.empty()) {
        Fail("start-up", "no units on the line");
        return false;
    }
    const int first = m_options.units.front().number;
    const uint32_t start = Now();
    while (m_panel->Console().PollHandler().StatusOf(first)[kStatusByteModel] == 0) {
        if (Now() - start > kRecoveryBound_ms) {
            Fail("start-up", "unit " + std::to_string(first) + " never came on line");
            return false;
        }
        Tick();
    }
    Timed("selecting unit " + std::to_string(first), [&] { m_panel->Toggle(first - 1)->Press(); });
    uint32_t took_ms = 0;
    return WaitUntilSynced("start-up", took_ms);
}

void SoakDriver::TurnKnob() {
    const int knob = Pick(0, kKnobCount - 1);
    CCanvasCtrl* display = m_panel->KnobDisplay(knob);
    ParamRecord* param = display->Param();
    // A timecode or a stepped parameter is edited on the panel alone, so its table entry
    // leaves the unit's value.
    if (!display->IsActive() || param == nullptr ||
        (param->flags & (kFlagTimecode | kFlagStepped)) || param < &g_paramTable[0] ||
        param > &g_paramTable[kLastKnobParameter]) {
        return;
    }
    const int deflection = Pick(1, 5) * (Pick(0, 1) == 0 ? -1 : 1);
    const int repeats = Pick(1, kLongestKnobTurn);
    Timed("turning knob " + std::to_string(knob + 1), [&] {
        m_panel->Console().StopPolling();
        for (int i = 0; i < repeats; ++i) {
            m_panel->KnobTick(knob, deflection);
        }
        m_panel->Console().ResumePolling();
    });
}

void SoakDriver::PressFunctionButton() {
    const int button = Pick(0, kFunctionButtonCount - 1);
    Timed("function button " + std::to_string(button + 1),
          [&] { m_panel->Console().OnFunctionButton(button); });
}

void SoakDriver::PressMenuButton() {
    const int button = Pick(0, g_panelModel.MenuButtonCount() - 1);
    Timed("menu button " + std::to_string(button + 1),
          [&] { m_panel->Console().OnMenuButton(button); });
}

void SoakDriver::SelectAnotherUnit() {
    std::vector<int> candidates;
    for (int unit : UnitsOnLine()) {
        if (unit != m_panel->SelectedUnit() &&
            m_panel->Console().PollHandler().StatusOf(unit)[kStatusByteModel] != 0) {
            candidates.push_back(unit);
        }
    }
    if (candidates.empty()) {
        return;
    }
    const int unit =
        candidates[static_cast<size_t>(Pick(0, static_cast<int>(candidates.size()) - 1))];
    Timed("selecting unit " + std::to_string(unit), [&] { m_panel->Toggle(unit - 1)->Press(); });
}

void SoakDriver::DoUserWork() {
    const int actions = Pick(1, kLongestUserWork);
    for (int i = 0; i < actions && !m_failure; ++i) {
        const int choice = Pick(1, 100);
        if (choice <= 45) {
            TurnKnob();
        } else if (choice <= 70) {
            PressFunctionButton();
        } else if (choice <= 90) {
            PressMenuButton();
        } else {
            SelectAnotherUnit();
        }
        ++m_report.userActions;
        const int ticks = Pick(1, kMostTicksBetweenActions);
        for (int t = 0; t < ticks && !m_failure; ++t) {
            Tick();
        }
    }
    uint32_t took_ms = 0;
    WaitUntilSynced("user work", took_ms);
}

void SoakDriver::HoldFault(const PlannedFault& fault) {
    m_fault = fault.Describe();
    ++m_report.faults[static_cast<size_t>(fault.kind)];
    const TableSnapshot before = TakeTableSnapshot();
    m_switch.Apply(fault);
    const uint32_t start = Now();
    while (Now() - start < fault.hold_ms && !m_failure) {
        Tick();
        if (m_holdObserver) {
            m_holdObserver();
        }
        const std::string change = FirstDifference(before, TakeTableSnapshot());
        if (!change.empty()) {
            Fail("a table changed while the unit's values did not", change);
        }
    }
    m_switch.Clear(fault);
    if (m_failure) {
        return;
    }
    m_fault = fault.Describe() + " (cleared)";
    uint32_t took_ms = 0;
    if (WaitUntilSynced(fault.Describe(), took_ms)) {
        m_report.CountRecovery(took_ms, fault);
    }
}

std::optional<SoakFailure> SoakDriver::Run() {
    const auto realStart = std::chrono::steady_clock::now();
    const auto target_ms = static_cast<uint64_t>(m_options.hours * 3'600'000.0);
    const auto warmUp_ms = static_cast<uint64_t>(target_ms * kWarmUpShare);
    if (Start()) {
        while (m_elapsed_ms < target_ms && !m_failure) {
            DoUserWork();
            if (m_report.residentStart == 0 && m_elapsed_ms >= warmUp_ms) {
                m_report.residentStart = ResidentBytes();
            }
            if (!m_failure) {
                HoldFault(m_schedule.Next(UnitsOnLine(), m_panel->SelectedUnit()));
            }
        }
    }
    m_report.residentEnd = ResidentBytes();
    if (!m_failure && kResidentSetTellsGrowth && m_report.ResidentGrowth() > kResidentGrowthLimit) {
        Fail("memory grows",
             "the resident set grew by " + std::to_string(m_report.ResidentGrowth()) + " bytes");
    }
    m_report.simulated_ms = m_elapsed_ms;
    m_report.requestsAnswered = m_sim.RequestsAnswered();
    m_report.requestsDropped = m_sim.RequestsDropped();
    m_report.messageBoxes = m_prompter.boxes;
    m_report.real_s =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - realStart).count();
    return m_failure;
}
