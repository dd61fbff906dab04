// Whether the panel's window keeps answering while the serial line is busy, measured on the
// real clock: a knob press at a random moment of the poll cycle to the first byte of its
// request; while the selected unit is busy, ignores a read or falls silent, the longest the
// window's timers stood still and the longest input waited; and the launch to the window's
// first paint. The panel runs in this process; vcp-sim serves units 1 and 2 on a
// pseudo-terminal (units 3 and 4 absent) and is driven from a thread of its own, so a window
// that hangs delays neither the unit's faults nor the presses.
// Prints its figures; run with QT_QPA_PLATFORM=offscreen on a machine without a display.
#include <QApplication>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench/KnobRequestWatch.h"
#include "console/LineBeside.h"
#include "controls/CBitmapSlider.h"
#include "controls/CImageToggleButton.h"
#include "controls/CInfoBar.h"
#include "link/SerialCom.h"
#include "panel/CTavrinoxApp.h"
#include "panel/CTavrinoxDlg.h"
#include "panel/PanelSelfTest.h"
#include "platform/Prompter.h"
#include "protocol/Commands.h"
#include "sim/line/BuiltinSimulator.h"
#include "tests/support/LatenessProbe.h"
#include "tests/support/RunEventsUntil.h"
#include "tests/support/SimProcess.h"

namespace {

constexpr int kPressSamples = 64;
constexpr int kLaunchRuns = 10;
constexpr int kTick_ms = 10;
constexpr auto kPressLimit = std::chrono::seconds(2);

// Clicks (the release that ends one) on a widget of the bench's own, posted four times a
// second from a thread of their own as the desktop posts input, numbered in their x
// position: a window may paint and run its timers while it waits for the line yet hold input
// back until the wait is over, and a click claims the line from the polls. A click dropped
// while held counts as answered when a later one arrives.
class InputProbe : public QWidget {
  public:
    static constexpr std::chrono::milliseconds kClickEvery{250};

    InputProbe() : m_device(QPointingDevice::primaryPointingDevice()) {}
    ~InputProbe() override { Stop(); }

    void Start() {
        {
            std::lock_guard lock(m_mutex);
            m_posted.clear();
            m_answered = 0;
            m_wait_ms.clear();
            ++m_round;  // clicks of an earlier round that are still queued are not counted
            m_stopping = false;
        }
        m_poster = std::thread([this] { Post(); });
    }
    // How long each click waited; clicks still on their way count up to now.
    std::vector<double> Stop() {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_stop.notify_all();
        if (m_poster.joinable()) {
            m_poster.join();
        }
        std::lock_guard lock(m_mutex);
        Answer(m_posted.size());
        return m_wait_ms;
    }

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        std::lock_guard lock(m_mutex);
        const double x = event->position().x();
        if (event->position().y() == m_round && x >= 0 &&
            x < static_cast<double>(m_posted.size())) {
            Answer(static_cast<size_t>(x) + 1);
        }
    }

  private:
    void Post() {
        std::unique_lock lock(m_mutex);
        while (!m_stop.wait_for(lock, kClickEvery, [this] { return m_stopping; })) {
            const QPointF where(static_cast<double>(m_posted.size()), m_round);
            m_posted.push_back(SteadyClock::now());
            QCoreApplication::postEvent(
                this, new QMouseEvent(QEvent::MouseButtonRelease, where, where, Qt::LeftButton,
                                      Qt::NoButton, Qt::NoModifier, m_device));
        }
    }
    void Answer(size_t upTo) {
        const SteadyClock::time_point now = SteadyClock::now();
        for (; m_answered < upTo; ++m_answered) {
            m_wait_ms.push_back(Ms(now - m_posted[m_answered]));
        }
    }

    const QPointingDevice* m_device;
    std::mutex m_mutex;
    std::condition_variable m_stop;
    std::vector<SteadyClock::time_point> m_posted;
    size_t m_answered = 0;
    std::vector<double> m_wait_ms;
    int m_round = 0;
    bool m_stopping = false;
    std::thread m_poster;
};

// What happens outside the window: vcp-sim, its control commands and the user's presses, on
// a thread of their own. Scripts run one after another, each step in turn.
class Director {
  public:
    using Step = std::function<void(SimProcess&)>;

    explicit Director(const std::string& units) : m_thread([this, units] { Main(units); }) {}
    ~Director() {
        {
            std::lock_guard lock(m_mutex);
            m_quit = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }

    // Waits for vcp-sim to be ready; the path of its line, empty when it did not start.
    std::string LinePath() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_startDone; });
        return m_linePath;
    }
    void Run(std::vector<Step> script) {
        {
            std::lock_guard lock(m_mutex);
            m_scripts.push_back(std::move(script));
            ++m_pending;
        }
        m_changed.notify_all();
    }
    bool Idle() {
        std::lock_guard lock(m_mutex);
        return m_pending == 0;
    }

  private:
    void Main(const std::string& units) {
        SimProcess sim;
        const bool started = sim.Start(units);
        {
            std::lock_guard lock(m_mutex);
            m_linePath = started ? sim.LinePath() : std::string();
            m_startDone = true;
        }
        m_changed.notify_all();
        for (;;) {
            std::vector<Step> script;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [this] { return m_quit || !m_scripts.empty(); });
                if (m_scripts.empty()) {
                    break;
                }
                script = std::move(m_scripts.front());
                m_scripts.pop_front();
            }
            for (const Step& step : script) {
                step(sim);
            }
            std::lock_guard lock(m_mutex);
            --m_pending;
        }
        sim.Stop();
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::vector<Step>> m_scripts;
    int m_pending = 0;
    bool m_quit = false;
    bool m_startDone = false;
    std::string m_linePath;
    std::thread m_thread;  // last: it starts once the rest is in place
};

Director::Step Control(const std::string& command) {
    return [command](SimProcess& sim) { sim.Control(command); };
}

Director::Step Pause(int ms) {
    return [ms](SimProcess&) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
}

// A click on a unit's toggle, queued to the window's thread as the desktop queues input.
Director::Step ClickUnitToggle(CTavrinoxDlg& panel, int unit) {
    QWidget* toggle = panel.Toggle(unit - 1);
    const int row = toggle->height() / 2;
    return [toggle, row](SimProcess&) {
        QMetaObject::invokeMethod(
            toggle,
            [toggle, row] {
                SendLeftMouse(toggle, QEvent::MouseButtonPress, row);
                SendLeftMouse(toggle, QEvent::MouseButtonRelease, row);
            },
            Qt::QueuedConnection);
    };
}

// One thread tells another that something happened.
class Signal {
  public:
    void Set() {
        std::lock_guard lock(m_mutex);
        m_set = true;
        m_changed.notify_all();
    }
    bool WaitFor(SteadyClock::duration limit) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, limit, [this] { return m_set; });
    }

  private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_set = false;
};

struct PressFigures {
    std::vector<double> samples_ms;
    int timedOut = 0;
};

// Presses knob 1 away from its thumb 100..400 ms after the last release, so the presses fall
// anywhere in the 100 ms poll cycle, and waits for the first byte of the knob's request.
Director::Step PressKnob(CBitmapSlider* knob, KnobRequestWatch& watch, PressFigures& figures) {
    const int row = knob->Geometry().RowOfPosition(2);
    return [knob, row, &watch, &figures](SimProcess&) {
        std::mt19937 random(20240611);
        std::uniform_int_distribution<int> pause_ms(100, 400);
        for (int i = 0; i < kPressSamples; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(pause_ms(random)));
            const SteadyClock::time_point pressed = SteadyClock::now();
            watch.Arm(pressed);
            QMetaObject::invokeMethod(
                knob, [knob, row] { SendLeftMouse(knob, QEvent::MouseButtonPress, row); },
                Qt::QueuedConnection);
            if (const auto waited = watch.WaitForRequest(kPressLimit)) {
                figures.samples_ms.push_back(Ms(*waited));
            } else {
                ++figures.timedOut;
            }
            // The next pause starts once the window took the release; the signal outlives
            // a wait that gives up.
            const auto released = std::make_shared<Signal>();
            QMetaObject::invokeMethod(
                knob,
                [knob, row, released] {
                    SendLeftMouse(knob, QEvent::MouseButtonRelease, row);
                    released->Set();
                },
                Qt::QueuedConnection);
            if (!released->WaitFor(std::chrono::seconds(30))) {
                std::fprintf(stderr, "the window took no release for 30 s; presses stop\n");
                return;
            }
        }
    };
}

// The first paint of a panel, and then its close, so that the run's modal loop ends.
class FirstPaintWatch : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted) {
            auto* panel = qobject_cast<CTavrinoxDlg*>(watched);
            if (panel != nullptr && panel->isVisible()) {
                painted = SteadyClock::now();
                QTimer::singleShot(0, panel, [panel] { panel->reject(); });
            }
        }
        return false;
    }
    std::optional<SteadyClock::time_point> painted;
};

// The program's own start-up on the built-in line, a fresh panel and line each run.
std::vector<double> LaunchToFirstPaint(CTavrinoxApp& vcpApp, int& unpainted) {
    std::vector<double> samples;
    for (int run = 0; run < kLaunchRuns; ++run) {
        g_link.Close();  // the link must not hold the line that is replaced now
        ResetProgramState();
        RegisterBuiltinSimulator(kDefaultUnitList);
        FirstPaintWatch watch;
        qApp->installEventFilter(&watch);
        // A panel that never paints is closed after 10 s and counted.
        QTimer bound;
        bound.setSingleShot(true);
        QObject::connect(&bound, &QTimer::timeout, [] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* panel = qobject_cast<CTavrinoxDlg*>(widget)) {
                    panel->reject();
                }
            }
        });
        bound.start(10000);
        const SteadyClock::time_point start = SteadyClock::now();
        vcpApp.InitInstance({.port = std::string("inproc:") + kBuiltinLineName});
        qApp->removeEventFilter(&watch);
        if (watch.painted) {
            samples.push_back(Ms(*watch.painted - start));
        } else {
            ++unpainted;
        }
    }
    g_link.Close();
    UnregisterBuiltinSimulator();
    return samples;
}

}  // namespace

int main(int argc, char** argv) {
    // The per-user settings of this run stay in a folder of its own.
    QTemporaryDir home;
    ::setenv("XDG_CONFIG_HOME", home.path().toLocal8Bit().constData(), 1);
    CTavrinoxApp vcpApp(argc, argv);
    CountingPrompter prompter;
    SetPrompter(&prompter);
    const SteadyClock::time_point benchStart = SteadyClock::now();

    int unpainted = 0;
    const std::vector<double> launch = LaunchToFirstPaint(vcpApp, unpainted);

    Director director("1:11,2:4");
    const std::string linePath = director.LinePath();
    if (linePath.empty()) {
        std::fprintf(stderr, "vcp-sim did not start\n");
        return 1;
    }
    ResetProgramState();
    CTavrinoxDlg::SetRunPort(linePath);
    // The tracer is in place before the line has a thread of its own, and stays until after.
    KnobRequestWatch watch;
    g_link.SetTracer(&watch);
    PressFigures presses;
    struct ScenarioFigures {
        const char* name;
        std::vector<double> late_ms;
        std::vector<double> inputWait_ms;
        double span_s;
        bool recovered;
    };
    std::vector<ScenarioFigures> scenarios;
    {
        LineBeside lineBeside;
        CTavrinoxDlg panel;
        panel.OnInitDialog();
        panel.show();
        panel.Console().SelectUnit(1);
        const auto atWork = [&] {
            return panel.SelectedUnit() == 1 && g_panelModel.m_currentMenu[1] != -1 &&
                   panel.InfoBar()->Alert().empty();
        };
        if (!RunEventsUntil(atWork, 15000)) {
            std::fprintf(stderr, "unit 1 was not selected and retrieved\n");
            return 1;
        }

        director.Run({PressKnob(panel.Knob(0), watch, presses)});
        RunEventsUntil([&] { return director.Idle(); }, 120000);

        LatenessProbe probe(kTick_ms);
        InputProbe input;
        const auto measure = [&](const char* name, std::vector<Director::Step> script) {
            RunEventsUntil([] { return false; }, 500);
            const SteadyClock::time_point start = SteadyClock::now();
            probe.Start();
            input.Start();
            director.Run(std::move(script));
            RunEventsUntil([&] { return director.Idle(); }, 90000);
            std::vector<double> late = probe.Stop();
            std::vector<double> held = input.Stop();
            const double span = Ms(SteadyClock::now() - start) / 1000.0;
            const bool recovered = RunEventsUntil(atWork, 20000);
            scenarios.push_back({name, std::move(late), std::move(held), span, recovered});
        };
        measure("(a) normal polling", {Pause(5000)});
        measure("(b) unit 1 busy 12 s",
                {Control("flag 1 busy on"), Pause(12000), Control("flag 1 busy off")});
        measure("(c) changed values, reads ignored 12 s",
                {Control("fault 1 ignore 0xAC"), Control("set 1 0 600"), Pause(12000),
                 Control("fault 1 clear")});
        measure("(d) unit 1 silent 8 s, then 3 s",
                {Control("fault 1 silent"), Pause(8000), Control("fault 1 clear"), Pause(3000)});
        measure("(e) re-selected, label read ignored 12 s",
                {Control("fault 1 ignore 0xB6"), ClickUnitToggle(panel, 2), Pause(1500),
                 ClickUnitToggle(panel, 1), Pause(12000), Control("fault 1 clear")});
        panel.hide();
    }
    g_link.SetTracer(nullptr);

    std::printf("units 1:11 and 2:4 on a pseudo-terminal (3 and 4 absent), unit 1 selected\n");
    ReportSpread(
        "knob press to first request byte", presses.samples_ms,
        presses.timedOut == 0 ? std::string() : Text(", %d timed out after 2 s", presses.timedOut));
    std::printf(
        "window lateness (a %d ms timer of the window's thread), and how long input waited "
        "(a click every 250 ms):\n",
        kTick_ms);
    for (const ScenarioFigures& s : scenarios) {
        std::printf(
            "  %-42s timer max %8.1f ms  p99 %8.1f ms   input max %8.1f ms  p99 %8.1f ms"
            "  over %5.1f s%s\n",
            s.name, Quantile(s.late_ms, 1.0), Quantile(s.late_ms, 0.99),
            Quantile(s.inputWait_ms, 1.0), Quantile(s.inputWait_ms, 0.99), s.span_s,
            s.recovered ? "" : "  (unit 1 NOT back at work after 20 s)");
    }
    ReportSpread("launch to first paint, inproc:sim", launch,
                 (launch.empty() ? std::string() : Text(", first run %.1f ms", launch.front())) +
                     (unpainted == 0 ? std::string() : Text(", %d never painted", unpainted)));
    std::printf("message boxes: %d; whole run %.1f s\n", prompter.boxes,
                Ms(SteadyClock::now() - benchStart) / 1000.0);
    SetPrompter(nullptr);
    return 0;
}
