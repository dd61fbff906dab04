// How long the window stands still while the panel's port names a device server that does not
// answer: tcp:// to a listener on 127.0.0.1 whose accept queue is full, so the system drops
// every further connection attempt and each connect waits out its 2 s. No packet leaves the
// machine. The panel runs on the real clock and its own event loop, no unit selected, and
// tries its port once a second; a 10 ms timer of the window's thread tells how late it fires.
// Then the listener takes connections again, and the bench says how soon the port opens.
// Prints its figures; run with QT_QPA_PLATFORM=offscreen on a machine without a display.
#include <unistd.h>

#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "console/LineBeside.h"
#include "link/SerialCom.h"
#include "panel/CTavrinoxDlg.h"
#include "platform/Prompter.h"
#include "platform/SerialDevice.h"
#include "tests/support/LatenessProbe.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/RunEventsUntil.h"

namespace {

using Steady = std::chrono::steady_clock;
constexpr int kMeasure_ms = 10'000;
constexpr int kReopenLimit_ms = 10'000;
constexpr double kFrozen_ms = 100.0;

class QuietPrompter : public Prompter {
  public:
    PromptAnswer Show(const std::string&, const std::string&, PromptIcon, PromptButtons) override {
        ++boxes;
        return PromptAnswer::Ok;
    }
    int boxes = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    ::setenv("XDG_CONFIG_HOME", home.path().toLocal8Bit().constData(), 1);
    QApplication app(argc, argv);
    QuietPrompter prompter;
    SetPrompter(&prompter);

    // The queue's one place taken: the panel's connects go unanswered.
    LoopbackListener listener(0);
    OpenError error;
    auto filler = OpenSerialDevice(listener.Address(), error);
    if (!filler) {
        std::fprintf(stderr, "no connection to the listener: %s\n", error.detail.c_str());
        return 1;
    }
    const auto probeStart = Steady::now();
    if (OpenSerialDevice(listener.Address(), error) != nullptr) {
        std::fprintf(stderr, "this system queued a second connection: nothing to measure\n");
        return 1;
    }
    const double connect_ms =
        std::chrono::duration<double, std::milli>(Steady::now() - probeStart).count();

    CTavrinoxDlg::SetRunPort(listener.Address());
    std::vector<double> late;
    double reopen_ms = -1.0;
    {
        const LineBeside line;
        CTavrinoxDlg panel;
        panel.OnInitDialog();
        panel.show();
        LatenessProbe probe;
        probe.Start();
        RunEventsUntil([] { return false; }, kMeasure_ms);
        late = probe.Stop();

        // The device server takes connections again, and keeps those it took.
        std::atomic<bool> stop{false};
        std::thread server([&] {
            std::vector<int> taken;
            while (!stop) {
                taken.push_back(listener.Accept());
            }
            for (const int fd : taken) {
                ::close(fd);
            }
        });
        const auto back = Steady::now();
        if (RunEventsUntil([] { return g_link.IsOpen(); }, kReopenLimit_ms)) {
            reopen_ms = std::chrono::duration<double, std::milli>(Steady::now() - back).count();
        }
        panel.hide();
        stop = true;
        const auto last = OpenSerialDevice(listener.Address(), error);  // wakes the server
        server.join();
    }
    std::sort(late.begin(), late.end());
    const double worst = late.empty() ? 0.0 : late.back();
    const double p99 = late.empty() ? 0.0 : late[late.size() * 99 / 100];
    const auto frozen =
        std::count_if(late.begin(), late.end(), [](double ms) { return ms >= kFrozen_ms; });
    double frozenTotal = 0.0;
    for (const double ms : late) {
        frozenTotal += ms >= kFrozen_ms ? ms : 0.0;
    }
    std::printf("port %s, a connect there gives up after %.0f ms\n", listener.Address().c_str(),
                connect_ms);
    std::printf(
        "window timer (10 ms) over %.1f s: latest %.1f ms, p99 %.1f ms, %lld ticks at least "
        "%.0f ms late, %.1f s late in all\n",
        kMeasure_ms / 1000.0, worst, p99, static_cast<long long>(frozen), kFrozen_ms,
        frozenTotal / 1000.0);
    if (reopen_ms >= 0.0) {
        std::printf("port open %.1f ms after the server took connections again\n", reopen_ms);
    } else {
        std::printf("port NOT open %d ms after the server took connections again\n",
                    kReopenLimit_ms);
    }
    std::printf("message boxes: %d\n", prompter.boxes);
    SetPrompter(nullptr);
    return 0;
}
