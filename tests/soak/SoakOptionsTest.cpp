// The soak's command line: a run is repeated from what it printed.
#include <gtest/gtest.h>

#include "soak/SoakOptions.h"

namespace {

std::optional<SoakOptions> Parse(const std::vector<std::string>& args, std::string& error) {
    bool help = false;
    return ParseSoakOptions(args, help, error);
}

TEST(SoakOptionsTest, HoursSeedAndUnitsAreTakenAndTheRestRefusedWithAReason) {
    std::string error;
    const std::optional<SoakOptions> defaults = Parse({}, error);
    ASSERT_TRUE(defaults);
    EXPECT_GT(defaults->hours, 0);
    EXPECT_EQ(defaults->units.size(), 2u);

    const std::optional<SoakOptions> options =
        Parse({"--hours", "24", "--seed", "18446744073709551615", "--units", "2:4"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->hours, 24);
    EXPECT_EQ(options->seed, 18446744073709551615u);
    ASSERT_EQ(options->units.size(), 1u);
    EXPECT_EQ(options->units[0].number, 2);
    EXPECT_EQ(options->units[0].modelCode, 4);

    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"--hours", "0"}, "--hours"},
        {{"--hours", "nan"}, "--hours"},
        {{"--hours", "2h"}, "--hours"},
        {{"--seed", "-1"}, "--seed"},
        {{"--seed", "12x"}, "--seed"},
        {{"--units", "5:11"}, "--units: unit number 5"},
        {{"--units"}, "--units needs"},
        {{"--fast"}, "unknown option --fast"},
        {{"--units", "1:11,1:4"}, "--units: unit 1 is listed twice"},
    };
    for (const auto& [args, reason] : refused) {
        SCOPED_TRACE(args[0]);
        error.clear();
        EXPECT_FALSE(Parse(args, error));
        EXPECT_EQ(error.rfind(reason, 0), 0u) << error;
    }
}

}  // namespace
