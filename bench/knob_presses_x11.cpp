// Knob presses as a user gives them: in a real X server, through the X test extension, at
// random moments of the 100 ms poll cycle (during exchanges too), each pressed on knob 1's
// thumb and dragged 30 pixels up, held until the knob's first request leaves or 2 s pass, then
// released. Prints the press to the first byte of that request and how many presses sent
// nothing. The panel runs in this process on the X server of DISPLAY; vcp-sim serves units 1
// and 2 on a pseudo-terminal (units 3 and 4 absent), unit 1 selected.
// Run: xvfb-run -s "-screen 0 1920x1080x24" build/bin/bench_knob_presses_x11 [PRESSES]
#include <QApplication>
#include <QTemporaryDir>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>

#include "bench/KnobRequestWatch.h"
#include "bench/UnitAtWork.h"
#include "bench/x11/XTestInput.h"
#include "console/LineBeside.h"
#include "controls/CBitmapSlider.h"
#include "controls/CInfoBar.h"
#include "panel/CTavrinoxApp.h"
#include "panel/CTavrinoxDlg.h"
#include "platform/Prompter.h"
#include "tests/support/RunEventsUntil.h"
#include "tests/support/SimProcess.h"

namespace {

constexpr int kDefaultPresses = 200;
constexpr int kDrag_px = 30;
constexpr int kDragSteps = 3;
constexpr auto kRequestLimit = std::chrono::seconds(2);

struct Figures {
    std::vector<double> samples_ms;
    int lost = 0;
};

void Sleep(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// The presses, from a connection of their own, as another program's input reaches the
// window.
void Press(int presses, QPoint thumb, KnobRequestWatch& watch, Figures& figures) {
    XTestInput input;
    if (!input.IsOpen()) {
        std::fprintf(stderr, "no X display\n");
        return;
    }
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> moment_ms(0, 100);
    for (int i = 0; i < presses; ++i) {
        input.MoveTo(thumb.x(), thumb.y());
        Sleep(150 + moment_ms(random));
        const SteadyClock::time_point pressed = SteadyClock::now();
        watch.Arm(pressed);
        input.LeftButton(true);
        for (int step = 1; step <= kDragSteps; ++step) {
            Sleep(5);
            input.MoveTo(thumb.x(), thumb.y() - step * kDrag_px / kDragSteps);
        }
        if (const auto waited = watch.WaitForRequest(kRequestLimit)) {
            figures.samples_ms.push_back(Ms(*waited));
        } else {
            ++figures.lost;
        }
        input.LeftButton(false);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultPresses;
    if (std::getenv("DISPLAY") == nullptr) {
        std::fprintf(stderr, "run under an X server: xvfb-run -s \"-screen 0 1920x1080x24\"\n");
        return 1;
    }
    QTemporaryDir home;
    ::setenv("XDG_CONFIG_HOME", home.path().toLocal8Bit().constData(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    CTavrinoxApp vcpApp(argc, argv);
    CountingPrompter prompter;
    SetPrompter(&prompter);

    SimProcess sim;
    if (!StartLineOfUnits(sim, "1:11,2:4")) {
        return 1;
    }
    KnobRequestWatch watch;
    g_link.SetTracer(&watch);
    Figures figures;
    {
        LineBeside lineBeside;
        CTavrinoxDlg panel;
        panel.OnInitDialog();
        panel.show();
        if (!SelectUnitOneAndWait(panel) ||
            !RunEventsUntil([&] { return panel.isVisible(); }, 15000)) {
            return 1;
        }
        RunEventsUntil([] { return false; }, 500);
        // The thumb at rest, in the screen's pixels at whatever zoom the panel shows.
        const CBitmapSlider* knob = panel.Knob(0);
        const KnobGeometry& geometry = knob->Geometry();
        const int row = knob->height() * geometry.RowOfPosition(CBitmapSlider::kRestPosition) /
                        std::max(1, geometry.height);
        const QPoint thumb = knob->mapToGlobal(QPoint(knob->width() / 2, row));
        std::atomic<bool> done = false;
        std::thread presser([&] {
            Press(presses, thumb, watch, figures);
            done = true;
        });
        RunEventsUntil([&] { return done.load(); }, 600000);
        presser.join();
        panel.hide();
    }
    g_link.SetTracer(nullptr);
    sim.Stop();
    SetPrompter(nullptr);

    std::printf(
        "units 1:11 and 2:4 on a pseudo-terminal (3 and 4 absent), unit 1 selected; "
        "%d presses on knob 1 in a real X server, each dragged %d px\n",
        presses, kDrag_px);
    ReportSpread("press to first adjust request", figures.samples_ms,
                 Text(", %d sent nothing within 2 s", figures.lost));
    return figures.lost == 0 ? 0 : 2;
}
