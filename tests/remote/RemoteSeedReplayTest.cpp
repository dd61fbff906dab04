// Every seed of the network fuzz targets through the same checks the fuzzer runs.
#include <gtest/gtest.h>

#include "fuzz/remote/RemoteChecks.h"
#include "tests/fuzz/SeedFiles.h"

namespace {

TEST(RemoteSeedReplayTest, EverySeedLineAndDatagramKeepsTheChecks) {
    const struct {
        const char* target;
        bool (*check)(const uint8_t*, size_t, std::string*);
    } targets[] = {{"remote_line", &CheckCommandLine}, {"remote_osc", &CheckOscPacket}};
    for (const auto& [target, check] : targets) {
        const auto seeds = Seeds(target);
        EXPECT_GE(seeds.size(), 5U) << target;
        for (const auto& seed : seeds) {
            const std::vector<uint8_t> bytes = Contents(seed);
            std::string why;
            EXPECT_TRUE(check(bytes.data(), bytes.size(), &why)) << seed << ": " << why;
        }
    }
}

}  // namespace
