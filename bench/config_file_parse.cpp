// Reading QN2.ini: a file of the usual size, and the largest the program reads (1 MB) made of
// distinct settings, in one section or each in a section of its own.
#include <benchmark/benchmark.h>

#include <string>

#include "app/ConfigStore.h"

namespace {

std::string UsualFile() {
    std::string file = "[Port]\r\nCom=1\r\nBaud=38400\r\n[Units]\r\n";
    for (int unit = 1; unit <= 4; ++unit) {
        file += "Unit " + std::to_string(unit) + " = Studio " + std::to_string(unit) + "\r\n";
    }
    file += "[Panel]\r\nSkin=default\r\nX=120\r\nY=80\r\n";
    return file;
}

// About a megabyte of settings, each with a key of its own; `sections` puts each in a section
// of its own too.
std::string LargestFile(bool sections) {
    std::string file;
    for (int line = 0; file.size() < 1000 * 1000; ++line) {
        const std::string number = std::to_string(line);
        if (sections) {
            file += "[Section " + number + "]\n";
        }
        file += "Key " + number + "=value " + number + "\n";
    }
    return file;
}

void Parse(benchmark::State& state, const std::string& file) {
    for (auto _ : state) {
        ConfigStore store;
        ConfigParser parser(store);
        parser.Feed(file);
        parser.Finish();
        benchmark::DoNotOptimize(store.SectionCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}

void BM_UsualFile(benchmark::State& state) {
    Parse(state, UsualFile());
}
BENCHMARK(BM_UsualFile);

void BM_LargestFileOneSection(benchmark::State& state) {
    Parse(state, LargestFile(false));
}
BENCHMARK(BM_LargestFileOneSection)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_LargestFileManySections(benchmark::State& state) {
    Parse(state, LargestFile(true));
}
BENCHMARK(BM_LargestFileManySections)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
