// A short soak of the panel: it passes on a healthy panel, and its checks fail the run, with
// the seed and the fault, when a table changes while a fault holds or the panel never gets
// back to its unit.
#include <gtest/gtest.h>

#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>

#include "model/PanelModel.h"
#include "soak/SoakChecks.h"
#include "soak/SoakDriver.h"
#include "tests/support/WidgetApplication.h"

namespace {

// Per-user settings of the panel go to a folder of the test's own.
class SoakApplicationEnvironment : public WidgetApplicationEnvironment {
  public:
    SoakApplicationEnvironment() : WidgetApplicationEnvironment("vcp_test_soak") {}
    void SetUp() override {
        ::setenv("XDG_CONFIG_HOME", m_home.path().toLocal8Bit().constData(), 1);
        ::setenv("XDG_CONFIG_DIRS", m_home.path().toLocal8Bit().constData(), 1);
        QStandardPaths::setTestModeEnabled(true);
        WidgetApplicationEnvironment::SetUp();
    }

  private:
    QTemporaryDir m_home;
};

[[maybe_unused]] ::testing::Environment* const g_soakEnvironment =
    ::testing::AddGlobalTestEnvironment(new SoakApplicationEnvironment);

SoakOptions ShortRun(uint64_t seed) {
    SoakOptions options;
    options.hours = 0.05;
    options.seed = seed;
    return options;
}

TEST(SoakRunTest, AHealthyPanelPassesAndTheRunIsCounted) {
    SoakDriver driver(ShortRun(3));
    const std::optional<SoakFailure> failure = driver.Run();
    EXPECT_FALSE(failure) << failure->Describe(3);
    const SoakReport& report = driver.Report();
    int faults = 0;
    for (int count : report.faults) {
        faults += count;
    }
    EXPECT_GT(faults, 3);
    EXPECT_EQ(report.recoveries, faults);
    EXPECT_GE(report.simulated_ms, 180'000u);
    EXPECT_GT(report.requestsAnswered, 100);
    EXPECT_GT(report.userActions, 0);
    EXPECT_GT(report.longestCall_ms, 0u);
    EXPECT_LE(report.longestCall_ms, kLongestBlockingCall_ms);
    EXPECT_LE(report.slowestRecovery_ms, kRecoveryBound_ms);
    EXPECT_GT(report.residentEnd, 0u);
}

TEST(SoakRunTest, ATableChangedWhileAFaultHoldsFailsTheRunWithSeedAndFault) {
    SoakDriver driver(ShortRun(5));
    driver.SetHoldObserver([] { ++g_paramTable[3].value; });
    const std::optional<SoakFailure> failure = driver.Run();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->check, "a table changed while the unit's values did not");
    EXPECT_EQ(failure->detail.rfind("parameter value 3 ", 0), 0u) << failure->detail;
    const std::string line = failure->Describe(5);
    EXPECT_NE(line.find("--seed 5"), std::string::npos) << line;
    EXPECT_NE(line.find(" for "), std::string::npos) << "names the fault: " << line;
}

TEST(SoakRunTest, APanelThatNeverGetsBackToItsUnitFailsTheRecoveryBound) {
    SoakDriver driver(ShortRun(5));
    // A fault that outlives its hold: the selected unit stays switched off.
    driver.SetHoldObserver([&] {
        for (int unit = 1; unit <= kMaxUnits; ++unit) {
            if (SimUnit* simUnit = driver.Line().Unit(unit)) {
                simUnit->Faults().Set(FaultKind::Silent, 0);
            }
        }
    });
    const std::optional<SoakFailure> failure = driver.Run();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->check, "no recovery within " + std::to_string(kRecoveryBound_ms) + " ms");
    EXPECT_NE(failure->fault.find("(cleared)"), std::string::npos) << failure->fault;
}

}  // namespace
