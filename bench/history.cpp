// What snapshots, restores and the as-run log cost against what the line itself takes. A
// model 11 unit served by the simulator on the in-process line, on the virtual clock, so the
// CPU time is the program's own; wire_floor_ms is the time the bytes of the same exchanges
// take at 115200 baud (10 bits a byte), the least any line could take; line_ms the virtual
// line time, which adds each answer's turnaround. The log's figure is the window thread's
// whole share of one logged change: the recorder's collect, the line's text, the queue.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <chrono>

#include "history/AsRunLines.h"
#include "history/AsRunLog.h"
#include "history/ChangeRecorder.h"
#include "history/Snapshot.h"
#include "history/SnapshotCompare.h"
#include "history/SnapshotFile.h"
#include "history/SnapshotRestore.h"
#include "link/ParameterCommands.h"
#include "link/SerialCom.h"
#include "model/PanelModel.h"
#include "platform/Clock.h"
#include "platform/InProcessLine.h"
#include "platform/PortNames.h"
#include "protocol/ParameterArguments.h"
#include "sim/line/SimLine.h"
#include "unit/MenuImageDownload.h"
#include "unit/MenuImageParser.h"

namespace {

constexpr double kBitsPerByte = 10.0;
constexpr double kBaud = 115200.0;
constexpr int kRestoredValues = 100;

class ByteCount : public LinkTracer {
  public:
    void OnByte(TraceDirection, uint8_t) override { ++bytes; }
    double WireFloor_ms() const { return static_cast<double>(bytes) * kBitsPerByte * 1000 / kBaud; }
    uint64_t bytes = 0;
};

// Unit 1, a model 11, selected with its menu image loaded.
class SimulatedUnit {
  public:
    SimulatedUnit() : time(1000), line(&sim) {
        unit = sim.AddUnit(1, 11);
        RegisterInProcessLine("bench", &line);
        PortNames().SetRunOverride("inproc:bench");
        static_cast<void>(ReopenPort(1));
        g_currentUnitAddress = AddressOfUnit(1);
        loaded = DownloadMenuImage(1) == Status::Ok;
        static_cast<void>(ParseMenuImage(1));
        loaded = loaded && ReadParameterValues() == Status::Ok;
    }
    ~SimulatedUnit() {
        g_link.SetTracer(nullptr);
        g_link.Close();
        PortNames().SetRunOverride("");
        UnregisterInProcessLine("bench");
        ResetProgramState();
    }

    ScopedVirtualClock time;
    SimLine sim;
    InProcessLine line;
    SimUnit* unit = nullptr;
    bool loaded = false;
};

void SnapshotOfAUnit(benchmark::State& state) {
    SimulatedUnit setup;
    ByteCount count;
    g_link.SetTracer(&count);
    uint32_t line_ms = 0;
    size_t values = 0;
    for (auto _ : state) {
        count.bytes = 0;
        const uint32_t start = CurrentClock().TickCount();
        const bool read = ReadParameterValues() == Status::Ok;
        const Snapshot snapshot = CaptureSnapshot(1, "PAL", "2026-12-08T04:25:35Z");
        benchmark::DoNotOptimize(SnapshotJson(snapshot));
        line_ms = CurrentClock().TickCount() - start;
        values = snapshot.values.size();
        if (!read) {
            state.SkipWithError("the values were not read");
            break;
        }
    }
    state.counters["values"] = static_cast<double>(values);
    state.counters["wire_floor_ms"] = count.WireFloor_ms();
    state.counters["line_ms"] = line_ms;
}
BENCHMARK(SnapshotOfAUnit)->Unit(benchmark::kMicrosecond);

// No simulated model holds 100 knob parameters: the restore goes through the movable ones
// of model 11 over and over until 100 values are sent, each a real change on the unit.
void RestoreOf100Values(benchmark::State& state) {
    SimulatedUnit setup;
    const Snapshot saved = CaptureSnapshot(1, "", "");
    std::vector<ValueDifference> differences;
    while (differences.size() < kRestoredValues) {
        for (const SnapshotValue& value : saved.values) {
            const bool knob = value.number <= kLastKnobParameter;
            const ParamRecord& record = g_paramTable[knob ? value.number : 0];
            if (knob && record.rawMax - record.rawMin > 4 && (record.flags & kFlagStepped) == 0 &&
                differences.size() < kRestoredValues) {
                const int moved = value.value > record.rawMin ? value.value - 1 : value.value + 1;
                differences.push_back({value.number, value.name, value.value, moved, "", ""});
            }
        }
    }
    ByteCount count;
    g_link.SetTracer(&count);
    uint32_t line_ms = 0;
    RestoreReport report;
    for (auto _ : state) {
        state.PauseTiming();
        for (const ValueDifference& difference : differences) {
            setup.unit->SetValue(difference.number, difference.now);
        }
        count.bytes = 0;
        const uint32_t start = CurrentClock().TickCount();
        state.ResumeTiming();
        report = RestoreValues(differences, 1);
        line_ms = CurrentClock().TickCount() - start;
    }
    if (report.stoppedAnswering || report.readBackFailed) {
        state.SkipWithError(report.Summary().c_str());
    }
    state.counters["values"] = static_cast<double>(report.sent);
    state.counters["wire_floor_ms"] = count.WireFloor_ms();
    state.counters["line_ms"] = line_ms;
}
BENCHMARK(RestoreOf100Values)->Unit(benchmark::kMillisecond);

// One knob turn through the recorder: the line's thread frames it (not timed here: it is
// the line's), the window's thread collects it, writes its line and queues it.
void WindowCostOfALoggedChange(benchmark::State& state) {
    SimulatedUnit setup;
    ChangeRecorder recorder;
    g_link.SetTracer(&recorder);
    QTemporaryDir dir;
    AsRunLog log(dir.filePath("as-run.log").toStdString());
    int sign = 1;
    for (auto _ : state) {
        state.PauseTiming();
        static_cast<void>(SetParameterWord(0, static_cast<uint16_t>(500 + sign)));
        sign = -sign;
        state.ResumeTiming();
        for (const UnitChange& change : recorder.Collect(true)) {
            log.Write(FormatChange(change));
        }
    }
    static_cast<void>(log.Flush(std::chrono::seconds(10)));
}
BENCHMARK(WindowCostOfALoggedChange)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
