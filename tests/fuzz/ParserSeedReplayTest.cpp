#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "fuzz/parsers/ParserChecks.h"
#include "link/StorageTables.h"
#include "model/PanelModel.h"
#include "tests/fuzz/SeedFiles.h"

// Names the target in test listings instead of its bytes.
void PrintTo(const ParserTarget& target, std::ostream* out) {
    *out << target.name;
}

namespace {

class ParserSeedReplay : public testing::TestWithParam<ParserTarget> {
  protected:
    void TearDown() override {
        ResetProgramState();
        ResetStorageTables();
    }
};

TEST_P(ParserSeedReplay, EverySeedKeepsTheInvariants) {
    const ParserTarget& target = GetParam();
    const auto seeds = Seeds(target.name);
    ASSERT_FALSE(seeds.empty()) << "fuzz/corpus/" << target.name << " has no seeds";
    for (const auto& seed : seeds) {
        const std::vector<uint8_t> data = Contents(seed);
        EXPECT_TRUE(target.check(data)) << seed;
        // Every shorter start of a seed too: the parsers meet cut data most.
        for (size_t size = 0; size < data.size(); size += 1 + data.size() / 64) {
            EXPECT_TRUE(target.check({data.data(), size})) << seed << " cut to " << size;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, ParserSeedReplay, testing::ValuesIn(ParserTargets()),
                         [](const testing::TestParamInfo<ParserTarget>& info) {
                             return std::string(info.param.name);
                         });

// The menu records check sees the tables the walk filled: a well-formed seed stores records
// at their own numbers, so the check has records to judge and is not passing on empty tables.
TEST(ParserChecks, AWellFormedImageFillsTheTablesTheCheckJudges) {
    const std::vector<uint8_t> seed = Contents(std::filesystem::path(VCP_FUZZ_CORPUS_DIR) /
                                               "menu_records" / "model11_20_entries");
    ASSERT_TRUE(CheckMenuRecords(seed));
    EXPECT_EQ(g_paramTable[5].number, 5);
    EXPECT_EQ(g_paramTable[5].name, "Gain");
    EXPECT_EQ(g_menuTable[0].title, "Main");
    EXPECT_EQ(g_paramTable[kEmptyKnobParam].number, -1);
}

TEST(ParserChecks, EveryTargetIsFoundByItsName) {
    for (const ParserTarget& target : ParserTargets()) {
        EXPECT_EQ(FindParserTarget(target.name), &target);
    }
    EXPECT_EQ(FindParserTarget("no_such_parser"), nullptr);
}

}  // namespace
