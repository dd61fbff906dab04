// Fetching a unit's whole menu image over the in-process line from a simulated unit: the CPU
// time of the transfer, and the line time it takes (counter line_ms, on the virtual clock:
// each chunk costs the 20 ms of silence that every request waits for, plus the breaks).
#include <benchmark/benchmark.h>

#include "link/SerialCom.h"
#include "link/UnitCommands.h"
#include "model/PanelModel.h"
#include "platform/Clock.h"
#include "platform/InProcessLine.h"
#include "platform/PortNames.h"
#include "sim/line/SimLine.h"
#include "sim/models/MenuImageBuilder.h"
#include "sim/models/ModelCatalog.h"
#include "unit/MenuImageDownload.h"

namespace {

void DownloadModelImage(benchmark::State& state) {
    const int model = static_cast<int>(state.range(0));
    ScopedVirtualClock time(1000);
    SimLine sim;
    sim.AddUnit(1, model);
    InProcessLine line(&sim);
    RegisterInProcessLine("bench", &line);
    PortNames().SetRunOverride("inproc:bench");
    static_cast<void>(ReopenPort(1));  // the registered line always opens
    g_currentUnitAddress = 0x10;

    uint32_t line_ms = 0;
    Status result = Status::Ok;
    for (auto _ : state) {
        const uint32_t start = CurrentClock().TickCount();
        result = DownloadMenuImage(1);
        line_ms = CurrentClock().TickCount() - start;
    }
    const size_t imageBytes = BuildModelImage(*FindModel(model)).size();
    state.counters["line_ms"] = line_ms;
    state.counters["image_bytes"] = static_cast<double>(imageBytes);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * imageBytes));
    if (result != Status::Ok) {
        state.SkipWithError("the download failed");
    }
    g_link.Close();
    PortNames().SetRunOverride("");
    UnregisterInProcessLine("bench");
    ResetProgramState();
}
BENCHMARK(DownloadModelImage)->Arg(4)->Arg(11)->Arg(177)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
