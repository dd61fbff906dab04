// What a control surface's user waits for, on the real clock: the panel with the line beside
// its window, vcp-sim serving unit 1 on a pseudo-terminal (addresses 2 to 4 empty), its
// surface on a JACK server, and a controller played by a JACK client of this program. Prints
// a message in to the first byte of its request on the wire; a spin of 200 detents in one
// second (the unit's value must move by exactly 200, and the last request must leave within
// one exchange of the last detent); and a unit's own change to its ring. Needs a running JACK
// server (jackd --no-realtime -d dummy); run with QT_QPA_PLATFORM=offscreen on a machine
// without a display.
#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "console/LineBeside.h"
#include "console/PanelActions.h"
#include "link/SerialCom.h"
#include "panel/CTavrinoxDlg.h"
#include "panel/PanelSurface.h"
#include "tests/support/JackController.h"
#include "tests/support/RunEventsUntil.h"
#include "tests/support/SimProcess.h"

namespace {

using SteadyClock = std::chrono::steady_clock;
constexpr uint8_t kAdjust = 0x81;
constexpr int kSamples = 60;
constexpr int kSpinDetents = 200;
// Each RtMidi object is a JACK client of its own, named apart so their ports' names are known.
constexpr const char* kController = "vcp-bench-controller";

double Millis(SteadyClock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void Report(const char* what, std::vector<double> samples) {
    if (samples.empty()) {
        std::printf("%-44s no samples\n", what);
        return;
    }
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double q) {
        return samples[static_cast<size_t>(q * static_cast<double>(samples.size() - 1))];
    };
    std::printf("%-44s p50 %7.2f ms   p95 %7.2f ms   max %7.2f ms   (%zu samples)\n", what, at(0.5),
                at(0.95), samples.back(), samples.size());
}

// The frames the link writes, on the line's thread: when each adjustment's first byte left
// and when the last answer byte came.
class WireLog : public LinkTracer {
  public:
    void OnByte(TraceDirection direction, uint8_t byte) override {
        const SteadyClock::time_point now = SteadyClock::now();
        const std::lock_guard lock(m_mutex);
        if (direction == TraceDirection::Received) {
            m_lastReceived = now;
            return;
        }
        if (m_at == 0) {
            m_frameStart = now;
        } else if (m_at == 1) {
            m_frameLength = byte + 3;
        } else if (m_at == 2 && byte == kAdjust) {
            m_adjustments.push_back(m_frameStart);
        }
        if (++m_at >= m_frameLength) {
            m_at = 0;
            m_frameLength = 3;
        }
    }
    std::vector<SteadyClock::time_point> Adjustments() {
        const std::lock_guard lock(m_mutex);
        return m_adjustments;
    }
    void Clear() {
        const std::lock_guard lock(m_mutex);
        m_adjustments.clear();
    }

  private:
    std::mutex m_mutex;
    int m_at = 0;
    int m_frameLength = 3;
    SteadyClock::time_point m_frameStart;
    SteadyClock::time_point m_lastReceived;
    std::vector<SteadyClock::time_point> m_adjustments;
};

// The event loop on the real clock, looking every millisecond.
bool RunUntil(const std::function<bool()>& done, int limit_ms) {
    return RunEventsUntil(done, limit_ms, 1);
}

void RunEventsFor(int ms) {
    RunEventsUntil([] { return false; }, ms);
}

int KnobValue(CTavrinoxDlg& panel) {
    return panel.Actions().CurrentState().knobs[0].value;
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    ::setenv("XDG_CONFIG_HOME", home.path().toLocal8Bit().constData(), 1);
    if (!JackController::ServerRuns()) {
        std::fprintf(stderr, "No JACK server runs: start jackd --no-realtime -d dummy first.\n");
        return 1;
    }
    QApplication app(argc, argv);
    // The unit on a pseudo-terminal, as a real line reaches the panel.
    SimProcess sim;
    if (!sim.Start("1:11")) {
        std::fprintf(stderr, "vcp-sim did not start\n");
        return 1;
    }
    CTavrinoxDlg::SetRunPort(sim.LinePath());
    const LineBeside line;
    CTavrinoxDlg panel;
    panel.OnInitDialog();
    panel.show();
    RunEventsFor(300);
    panel.Console().SelectUnit(1);
    RunEventsFor(300);

    JackController controller(kController);
    SurfaceSettings settings;
    settings.enabled = true;
    settings.system = "jack";
    settings.input = JackController::OutPort(kController);
    settings.output = JackController::InPort(kController);
    settings.mapping = "generic-eight-encoders";
    PanelSurface surface(panel, settings);
    if (!RunUntil([&] { return surface.Present(); }, 5000)) {
        std::fprintf(stderr, "The surface's ports did not open.\n");
        return 1;
    }
    RunEventsFor(300);
    WireLog wire;
    g_link.SetTracer(&wire);

    // One detent at a time, the panel idle before each.
    std::mt19937 random(7);
    std::vector<double> toWire;
    for (int i = 0; i < kSamples; ++i) {
        // At any moment of the poll, not always just after one: the line keeps 20 ms of
        // silence after every exchange.
        RunEventsFor(100 + static_cast<int>(random() % 100));
        wire.Clear();
        const SteadyClock::time_point sent = SteadyClock::now();
        controller.Send({0xB0, 1, static_cast<unsigned char>(i % 2 == 0 ? 0x01 : 0x7F)});
        if (RunUntil([&] { return !wire.Adjustments().empty(); }, 1000)) {
            toWire.push_back(Millis(wire.Adjustments().front() - sent));
        }
    }
    Report("surface message to first request byte", toWire);
    // The same turn asked of the panel's actions directly: the panel's and the line's share.
    std::vector<double> actionToWire;
    for (int i = 0; i < kSamples; ++i) {
        // At any moment of the poll, not always just after one: the line keeps 20 ms of
        // silence after every exchange.
        RunEventsFor(100 + static_cast<int>(random() % 100));
        wire.Clear();
        const SteadyClock::time_point asked = SteadyClock::now();
        static_cast<void>(panel.Actions().TurnKnob(0, i % 2 == 0 ? 1 : -1, {}));
        if (RunUntil([&] { return !wire.Adjustments().empty(); }, 1000)) {
            actionToWire.push_back(Millis(wire.Adjustments().front() - asked));
        }
    }
    Report("the same turn as a named action", actionToWire);

    // 200 detents right in one second from the controller's own thread.
    static_cast<void>(panel.Actions().SetParameter(0, 300, {ActionSource::Surface, "bench"}));
    RunEventsFor(500);
    const int before = KnobValue(panel);
    wire.Clear();
    std::atomic<bool> spun{false};
    SteadyClock::time_point lastDetent;
    std::thread spinner([&] {
        const SteadyClock::time_point start = SteadyClock::now();
        for (int i = 0; i < kSpinDetents; ++i) {
            std::this_thread::sleep_until(start + std::chrono::milliseconds(5 * i));
            controller.Send({0xB0, 1, 0x01});
        }
        lastDetent = SteadyClock::now();
        spun = true;
    });
    RunUntil([&] { return spun.load(); }, 3000);
    spinner.join();
    RunUntil([&] { return KnobValue(panel) == before + kSpinDetents; }, 2000);
    RunEventsFor(300);
    const std::vector<SteadyClock::time_point> adjustments = wire.Adjustments();
    std::vector<double> exchanges;
    for (size_t i = 1; i < adjustments.size(); ++i) {
        exchanges.push_back(Millis(adjustments[i] - adjustments[i - 1]));
    }
    std::sort(exchanges.begin(), exchanges.end());
    const double exchange = exchanges.empty() ? 0.0 : exchanges[exchanges.size() / 2];
    std::printf(
        "spin of %d detents in 1 s: value moved by %d; %zu adjustments; last request %.2f ms "
        "after the last detent; median gap between adjustments %.2f ms\n",
        kSpinDetents, KnobValue(panel) - before, adjustments.size(),
        adjustments.empty() ? -1.0 : Millis(adjustments.back() - lastDetent), exchange);

    // The unit's own change, made on the line's thread where the unit lives, to the ring.
    std::vector<double> toRing;
    std::vector<double> toPanel;
    for (int i = 0; i < 20; ++i) {
        const int value = 100 + 40 * (i % 2 == 0 ? i : -i + 20);
        const SteadyClock::time_point changed = SteadyClock::now();
        sim.Control("set 1 0 " + std::to_string(value));
        const int wanted = (value * 127 + 1023 / 2) / 1023;
        if (RunUntil([&] { return KnobValue(panel) == value; }, 1000)) {
            toPanel.push_back(Millis(SteadyClock::now() - changed));
        }
        if (RunUntil([&] { return controller.Rings()[1].value == wanted; }, 1000)) {
            toRing.push_back(Millis(controller.Rings()[1].at - changed));
        }
        RunEventsFor(50);
    }
    Report("unit's own change to the panel's knob", toPanel);
    Report("unit's own change to its ring", toRing);
    g_link.SetTracer(nullptr);
    panel.hide();
    return 0;
}
