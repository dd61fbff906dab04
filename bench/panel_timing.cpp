// What the user of the panel waits for, measured on the real clock against the built-in
// line of four simulated units: a knob press to the first request byte on the wire, a
// unit's answer to the repainted knob display, a full repaint of the window at 1x and 2x,
// and the resident memory after start and after retrieving all four units.
// Prints its figures; run with QT_QPA_PLATFORM=offscreen on a machine without a display.
#include <sys/resource.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "controls/CBitmapSlider.h"
#include "controls/CCanvasCtrl.h"
#include "link/SerialCom.h"
#include "panel/CTavrinoxDlg.h"
#include "panel/PanelSelfTest.h"
#include "sim/line/BuiltinSimulator.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kSamples = 60;

double Micros(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

// Resident memory of this process in KiB (VmRSS).
long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}

void Report(const char* what, std::vector<double> samples, const char* unit, double scale) {
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double q) {
        return samples[static_cast<size_t>(q * static_cast<double>(samples.size() - 1))] / scale;
    };
    std::printf("%-44s p50 %9.3f %s   p95 %9.3f %s   (%zu samples)\n", what, at(0.5), unit,
                at(0.95), unit, samples.size());
}

// Notes when bytes cross the link; a press waits for the first byte it sends.
class WireClock : public LinkTracer {
  public:
    void OnByte(TraceDirection direction, uint8_t) override {
        const Clock::time_point now = Clock::now();
        if (direction == TraceDirection::Received) {
            lastReceived = now;
            return;
        }
        if (waiting) {
            waiting = false;
            firstSent = now;
            if (loop != nullptr) {
                loop->quit();
            }
        }
    }
    bool waiting = false;
    QEventLoop* loop = nullptr;
    Clock::time_point firstSent;
    Clock::time_point lastReceived;
};

// When the widget last painted.
class PaintClock : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted.push_back(Clock::now());
        }
        return QObject::eventFilter(watched, event);
    }
    std::vector<Clock::time_point> painted;
};

void RunEventsFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Press on the knob away from its thumb (it jumps there and starts jogging) until the first
// byte of the request leaves, with the panel idle before each press.
std::vector<double> PressToWire(CTavrinoxDlg& panel, WireClock& wire) {
    CBitmapSlider* knob = panel.Knob(0);
    const int row = knob->Geometry().RowOfPosition(2);
    std::vector<double> samples;
    for (int i = 0; i < kSamples; ++i) {
        RunEventsFor(150);
        QEventLoop loop;
        wire.loop = &loop;
        wire.waiting = true;
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        const Clock::time_point pressed = Clock::now();
        SendLeftMouse(knob, QEvent::MouseButtonPress, row);
        if (wire.waiting) {
            loop.exec();
        }
        wire.loop = nullptr;
        if (!wire.waiting) {
            samples.push_back(Micros(wire.firstSent - pressed));
        }
        wire.waiting = false;
        SendLeftMouse(knob, QEvent::MouseButtonRelease, row);
    }
    return samples;
}

// One jog tick at a time: the unit's last answer byte to the display's next paint.
std::vector<double> AnswerToRepaint(CTavrinoxDlg& panel, WireClock& wire) {
    CBitmapSlider* knob = panel.Knob(0);
    PaintClock paints;
    panel.KnobDisplay(0)->installEventFilter(&paints);
    const int row = knob->Geometry().RowOfPosition(4);
    SendLeftMouse(knob, QEvent::MouseButtonPress, row);
    std::vector<double> samples;
    for (int i = 0; i < kSamples; ++i) {
        paints.painted.clear();
        knob->OnRepeatTimer();
        const auto after =
            std::find_if(paints.painted.begin(), paints.painted.end(),
                         [&](Clock::time_point t) { return t >= wire.lastReceived; });
        if (after != paints.painted.end()) {
            samples.push_back(Micros(*after - wire.lastReceived));
        }
    }
    SendLeftMouse(knob, QEvent::MouseButtonRelease, row);
    panel.KnobDisplay(0)->removeEventFilter(&paints);
    return samples;
}

std::vector<double> FullRepaint(CTavrinoxDlg& panel, qreal ratio) {
    QImage image(panel.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    std::vector<double> samples;
    for (int i = 0; i < kSamples; ++i) {
        const Clock::time_point start = Clock::now();
        panel.render(&image);
        samples.push_back(Micros(Clock::now() - start));
    }
    return samples;
}

// User and system time of this process.
double CpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    // The per-user settings of this run stay in a folder of its own.
    QTemporaryDir home;
    ::setenv("XDG_CONFIG_HOME", home.path().toLocal8Bit().constData(), 1);
    QApplication app(argc, argv);
    const long bare = ResidentKiB();
    RegisterBuiltinSimulator("1:11,2:4,3:80,4:5");
    CTavrinoxDlg::SetRunPort("inproc:sim");
    CTavrinoxDlg panel;
    panel.OnInitDialog();
    panel.show();
    RunEventsFor(300);
    const long started = ResidentKiB();
    for (int unit = 1; unit <= 4; ++unit) {
        panel.Console().SelectUnit(unit);
    }
    RunEventsFor(300);
    const long retrieved = ResidentKiB();
    panel.Console().SelectUnit(1);

    WireClock wire;
    g_link.SetTracer(&wire);
    Report("knob press to first request byte", PressToWire(panel, wire), "ms", 1000.0);
    Report("answer to repainted knob display", AnswerToRepaint(panel, wire), "us", 1.0);
    g_link.SetTracer(nullptr);
    Report("full window repaint at 1x", FullRepaint(panel, 1.0), "ms", 1000.0);
    Report("full window repaint at 2x", FullRepaint(panel, 2.0), "ms", 1000.0);
    constexpr int kIdle_s = 20;
    const double cpuBefore = CpuSeconds();
    RunEventsFor(kIdle_s * 1000);
    std::printf(
        "idle CPU over %d s, unit 1 selected, the built-in line inside the process: "
        "%.2f%% of one core\n",
        kIdle_s, 100.0 * (CpuSeconds() - cpuBefore) / kIdle_s);
    std::printf(
        "resident memory: %ld KiB before the panel, %ld KiB after start, %ld KiB after "
        "retrieving four units\n",
        bare, started, retrieved);
    panel.hide();
    return 0;
}
