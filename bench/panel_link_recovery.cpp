// How fast the panel notices that its device vanished and how fast it is back at work when
// the device returns, with no click: the panel on the real clock and its own event loop,
// vcp-sim serving units 1 and 3 on a pseudo-terminal that is stopped and started again on
// the same path. Prints each round, and how many message boxes came up (none expected).
#include <QApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

#include "controls/CInfoBar.h"
#include "panel/CTavrinoxDlg.h"
#include "platform/Prompter.h"
#include "tests/support/RunEventsUntil.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRounds = 5;
const char* const kLostText = "Lost communication with Main Unit!";

double Millis(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

class CountingPrompter : public Prompter {
  public:
    PromptAnswer Show(const std::string& text, const std::string&, PromptIcon,
                      PromptButtons) override {
        std::fprintf(stderr, "box: %s\n", text.c_str());
        ++boxes;
        return PromptAnswer::Ok;
    }
    int boxes = 0;
};

bool StartSim(QProcess& sim, const QString& path) {
    const auto bin = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    sim.start(QString::fromStdString((bin / "vcp-sim").string()),
              {"--pty", path, "--units", "1:11,3:4"});
    return sim.waitForStarted(5000) && sim.waitForReadyRead(5000) &&
           sim.readAllStandardOutput().startsWith("ready");
}

void StopSim(QProcess& sim) {
    sim.terminate();
    sim.waitForFinished(5000);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    ::setenv("XDG_CONFIG_HOME", home.path().toLocal8Bit().constData(), 1);
    QApplication app(argc, argv);
    CountingPrompter prompter;
    SetPrompter(&prompter);
    const QString path = home.filePath("line");
    QProcess sim;
    if (!StartSim(sim, path)) {
        std::fprintf(stderr, "vcp-sim did not start\n");
        return 1;
    }
    CTavrinoxDlg::SetRunPort(path.toStdString());
    CTavrinoxDlg panel;
    panel.OnInitDialog();
    panel.show();
    panel.Console().SelectUnit(1);
    const auto connected = [&] {
        return g_panelModel.m_currentMenu[1] != -1 && panel.InfoBar()->Alert().empty();
    };
    if (!RunEventsUntil(connected, 10000, 1)) {
        std::fprintf(stderr, "unit 1 was not selected\n");
        return 1;
    }

    std::vector<double> detect;
    std::vector<double> recover;
    for (int round = 1; round <= kRounds; ++round) {
        RunEventsUntil([] { return false; }, 1000, 1);
        StopSim(sim);
        const Clock::time_point gone = Clock::now();
        const bool lost =
            RunEventsUntil([&] { return panel.InfoBar()->Alert() == kLostText; }, 10000, 1);
        detect.push_back(Millis(Clock::now() - gone));
        RunEventsUntil([] { return false; }, 2500, 1);  // stays lost, quietly
        if (!StartSim(sim, path)) {
            std::fprintf(stderr, "vcp-sim did not start again\n");
            return 1;
        }
        const Clock::time_point back = Clock::now();
        const bool recovered = RunEventsUntil(connected, 20000, 1);
        recover.push_back(Millis(Clock::now() - back));
        std::printf(
            "round %d: loss shown after %7.1f ms%s, back at work %7.1f ms after the "
            "device returned%s\n",
            round, detect.back(), lost ? "" : " (NOT SHOWN)", recover.back(),
            recovered ? "" : " (NOT RECOVERED)");
    }
    std::printf(
        "median: loss shown after %.1f ms, back at work after %.1f ms; message boxes: "
        "%d\n",
        Median(detect), Median(recover), prompter.boxes);
    StopSim(sim);
    panel.hide();
    SetPrompter(nullptr);
    return 0;
}
