#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "fuzz/FuzzHarness.h"
#include "model/PanelModel.h"
#include "tests/fuzz/SeedFiles.h"

namespace {

template <typename Harness>
void Replay(const char* target, Harness harness) {
    const auto seeds = Seeds(target);
    ASSERT_FALSE(seeds.empty());
    for (const auto& seed : seeds) {
        const std::vector<uint8_t> data = Contents(seed);
        EXPECT_TRUE(harness(data.data(), data.size())) << seed;
    }
}

TEST(FuzzCorpusReplay, MenuImageSeeds) {
    Replay("menu_image",
           [](const uint8_t* data, size_t size) { return FuzzMenuImage(data, size); });
}

TEST(FuzzCorpusReplay, AnswerSeeds) {
    Replay("answer", FuzzAnswers);
}

TEST(FuzzCorpusReplay, HarnessLeavesTheProgramStateClean) {
    const std::vector<uint8_t> seed = Contents(Seeds("menu_image").front());
    FuzzMenuImage(seed.data(), seed.size());
    EXPECT_EQ(g_currentUnitAddress, 0);
    EXPECT_FALSE(g_panelModel.IsImageLoaded(1));
}

TEST(FuzzCorpusReplay, TheWellFormedSeedsParseWhole) {
    const auto dir = std::filesystem::path(VCP_FUZZ_CORPUS_DIR) / "menu_image";
    for (const char* name : {"model11", "model4", "silent_model4"}) {
        const std::vector<uint8_t> seed = Contents(dir / name);
        bool inspected = false;
        FuzzMenuImage(seed.data(), seed.size(), [&] {
            inspected = true;
            EXPECT_EQ(g_paramTable[5].name, "Gain") << name;
            EXPECT_EQ(g_paramTable[5].options[2].first, "On");
            EXPECT_EQ(g_functionTable[1].label, "FG,Mix");
            EXPECT_EQ(g_menuTable[0].title, "Main");
            EXPECT_EQ(g_messageTable[3].text, "Go on?");
        });
        EXPECT_TRUE(inspected);
    }
}

}  // namespace
