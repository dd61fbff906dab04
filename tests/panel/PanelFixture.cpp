#include "tests/panel/PanelFixture.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "app/ConfigLocation.h"
#include "app/ConfigStore.h"
#include "controls/CImageToggleButton.h"
#include "controls/ProgramLook.h"
#include "link/LockoutCommands.h"
#include "link/SerialCom.h"
#include "link/StorageTables.h"
#include "platform/PortNames.h"

namespace {

// Widgets need an application; per-user settings and configuration searches go to a
// folder of the test program's own, never to the user's.
class PanelApplicationEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        ::setenv("XDG_CONFIG_HOME", m_home.path().toLocal8Bit().constData(), 1);
        ::setenv("XDG_CONFIG_DIRS", m_home.path().toLocal8Bit().constData(), 1);
        ::setenv("XDG_STATE_HOME", m_home.path().toLocal8Bit().constData(), 1);
        // Test mode keeps settings under the home folder: a home of its own, so test programs
        // that run at once do not share one stored port.
        ::setenv("HOME", m_home.path().toLocal8Bit().constData(), 1);
        QStandardPaths::setTestModeEnabled(true);
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
        ApplyProgramLook();
    }
    void TearDown() override { m_app.reset(); }

  private:
    QTemporaryDir m_home;
    int m_argc = 1;
    char m_name[16] = "vcp_test_panel";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] testing::Environment* const g_panelEnvironment =
    testing::AddGlobalTestEnvironment(new PanelApplicationEnvironment);

}  // namespace

void PanelFixture::SetUp() {
    ResetProgramState();
    ResetOnAirLockTables();
    ResetStorageTables();
    g_configuration.Clear();
    for (const UnitEntry& entry : Units()) {
        ASSERT_NE(sim.AddUnit(entry.number, entry.modelCode), nullptr);
    }
    RegisterInProcessLine(kLineName, &line);
    SetPrompter(&prompter);
    // An empty configuration unless the test writes one: the user's own is never read.
    UseConfiguration("");
    CTavrinoxDlg::SetRunPort(std::string("inproc:") + kLineName);
    if (StartInSetUp()) {
        StartPanel();
    }
}

void PanelFixture::TearDown() {
    panel.reset();
    g_link.Close();
    CSerialCom::SetFailureReaction(nullptr);
    CTavrinoxDlg::SetRunPort("");
    PortNames().SetRunOverride("");
    ClearConfigurationOverride();
    g_configuration.Clear();
    UnregisterInProcessLine(kLineName);
    SetPrompter(nullptr);
    ResetProgramState();
}

void PanelFixture::StartPanel() {
    panel = std::make_unique<CTavrinoxDlg>();
    ASSERT_TRUE(panel->OnInitDialog());
}

void PanelFixture::UseConfiguration(const std::string& text) {
    const std::string path = m_dir.filePath("QN2.ini").toStdString();
    std::ofstream(path, std::ios::binary) << text;
    SetConfigurationOverride(path);
}

void PanelFixture::RunPollTicks(int ticks) {
    for (int i = 0; i < ticks; ++i) {
        time.clock.Advance(kPollPeriod_ms);
        WindowTimers& timers = panel->Timers();
        if (timers.IsActive(kPollTimer)) {
            panel->Console().OnPollTimer();
        }
        if (timers.IsActive(kPromptTimer)) {
            panel->Console().OnPromptTimer();
        }
        if (timers.IsActive(kKeyScanTimer)) {
            panel->Console().OnKeyScanTimer();
        }
        if (timers.PeriodElapsed(kMessageClearTimer)) {
            panel->Console().OnMessageClearTimer();
        }
    }
}

bool PanelFixture::RunPollTicksUntil(const std::function<bool()>& done, int limit) {
    for (int i = 0; i < limit && !done(); ++i) {
        RunPollTicks(1);
    }
    return done();
}

SimUnit& PanelFixture::SelectUnit(int number) {
    panel->Toggle(number - 1)->Press();
    return Unit(number);
}

SimUnit& PanelFixture::Unit(int number) {
    SimUnit* unit = sim.Unit(number);
    if (unit == nullptr) {
        throw std::logic_error("no unit " + std::to_string(number) + " on the line");
    }
    return *unit;
}
