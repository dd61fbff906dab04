// vcp-soak: the panel against a line of simulated units with faults switched at random, for
// a long simulated time. Prints one block of figures; exits 1 when a check failed, 2 for
// bad options.
#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "soak/SoakDriver.h"
#include "soak/SoakOptions.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    bool help = false;
    std::string error;
    const std::optional<SoakOptions> options = ParseSoakOptions(args, help, error);
    if (!options || help) {
        if (!options) {
            std::fprintf(stderr, "vcp-soak: %s\n", error.c_str());
        }
        std::fputs(SoakUsage().c_str(), options ? stdout : stderr);
        return options ? 0 : 2;
    }
    // The window is never shown; per-user settings stay in a folder of the run's own.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir home;
    ::setenv("XDG_CONFIG_HOME", home.path().toLocal8Bit().constData(), 1);
    ::setenv("XDG_CONFIG_DIRS", home.path().toLocal8Bit().constData(), 1);
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);

    std::printf("soak: seed %llu, %.2f simulated hours\n",
                static_cast<unsigned long long>(options->seed), options->hours);
    std::fflush(stdout);
    SoakDriver driver(*options);
    const std::optional<SoakFailure> failure = driver.Run();
    driver.Report().Print(stdout);
    if (failure) {
        std::printf("%s\n", failure->Describe(options->seed).c_str());
        return 1;
    }
    std::printf("soak passed\n");
    return 0;
}
