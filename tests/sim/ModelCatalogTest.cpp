// Every model's image read back by the panel's reading rules, and the model data checked for
// the numbers the panel treats specially.
#include <gtest/gtest.h>

#include <set>

#include "sim/MenuImageBuilder.h"
#include "sim/ModelCatalog.h"
#include "tests/sim/ImageWalker.h"

namespace {

class ModelImageTest : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        model = FindModel(GetParam());
        ASSERT_NE(model, nullptr);
        image = BuildModelImage(*model);
        walked = ImageWalker(image, MenuEntryWords(model->family)).Walk();
    }

    bool Compact() const { return model->family == MenuFamily::Compact; }

    const ModelDefinition* model = nullptr;
    std::vector<uint8_t> image;
    WalkedImage walked;
};

TEST_P(ModelImageTest, ReadsBackToTheLastByteWithoutOverruns) {
    EXPECT_FALSE(walked.outOfBounds);
    EXPECT_EQ(walked.overruns, 0);
    EXPECT_EQ(walked.end, image.size());
    EXPECT_NE(image[0], 0xFF) << "byte 0 must not look like the not-loaded marker";
    EXPECT_LE(image.size(), 65536u);
}

TEST_P(ModelImageTest, CarriesTheSpecialParametersAndFunctions) {
    for (int number : {59, 60, 61, 93, 94, 95, 96, 97, 98, 101, 114}) {
        EXPECT_TRUE(walked.params.count(number)) << "parameter " << number;
    }
    for (int number : {129, 130, 132, 159, 161, 163, 168, 174, 211, 214, 216,
                       217, 218, 219, 220, 221, 222, 223, 224, 225, 226, 227}) {
        EXPECT_TRUE(walked.functionLabels.count(number)) << "function " << number;
    }
    // The never-parsed last function record is the builder's own.
    EXPECT_FALSE(walked.functionLabels.count(kLastFunctionNumber));
}

TEST_P(ModelImageTest, CoversEveryDisplayKindAndSuffix) {
    std::set<int> kinds;
    bool suffixedName = false;
    for (const auto& [number, param] : walked.params) {
        kinds.insert(param.flags & 0xC118);
        suffixedName |= param.name.find('#') != std::string::npos;
        EXPECT_LE(param.rawMin, param.rawMax) << "parameter " << number;
        EXPECT_LE(param.optionCount, 3) << "parameter " << number;
    }
    for (int kind : {0x0000, 0x0008, 0x0010, 0x0108, 0x4000, 0x8000}) {
        EXPECT_TRUE(kinds.count(kind)) << "display kind " << kind;
    }
    EXPECT_TRUE(suffixedName);
    EXPECT_EQ(walked.functionLabels.at(135), "Linear#K,Luma,Chroma");
}

TEST_P(ModelImageTest, MenusLeadOnlyToMenusThatExist) {
    std::set<int> required = {0, 7, 11, 15, 17, 18, 26, 28, 30, 31, 32, 37, 45, 46};
    required.insert(Compact() ? 33 : 34);
    for (int number : required) {
        EXPECT_TRUE(walked.menus.count(number)) << "menu " << number;
    }
    const int buttons = MenuButtonCount(model->family);
    for (const auto& [number, menu] : walked.menus) {
        EXPECT_FALSE(menu.title.empty()) << "menu " << number;
        EXPECT_FALSE(menu.shortName.empty()) << "menu " << number;
        for (int i = 0; i < buttons; ++i) {
            const int target = menu.entries[static_cast<size_t>(i)];
            EXPECT_TRUE(target == kNoTarget || walked.menus.count(target))
                << "menu " << number << " button " << i << " leads to " << target;
        }
        for (int i = buttons; i < buttons + kMenuFunctionButtons; ++i) {
            const int function = menu.entries[static_cast<size_t>(i)];
            EXPECT_TRUE(function == kNoFunction || walked.functionLabels.count(function))
                << "menu " << number << " function " << function;
        }
        for (int knob : menu.knobs) {
            EXPECT_TRUE(knob == kNoKnobParam || walked.params.count(knob))
                << "menu " << number << " knob " << knob;
        }
    }
    for (int number : {17, 32, 37, 45, 46}) {
        EXPECT_EQ(walked.menus[number].flags & kMenuOpensDialog, kMenuOpensDialog);
    }
}

TEST_P(ModelImageTest, MessagesIncludeQuestions) {
    EXPECT_GE(walked.messageFlags.size(), 6u);
    int questions = 0;
    for (const auto& [number, flags] : walked.messageFlags) {
        questions += (flags & kMessageAsks) ? 1 : 0;
        EXPECT_FALSE(walked.messageTexts[number].empty()) << "message " << number;
    }
    EXPECT_GE(questions, 1);
}

INSTANTIATE_TEST_SUITE_P(AllModels, ModelImageTest, ::testing::Values(4, 5, 7, 9, 11, 80, 81, 177));

TEST(ModelCatalogTest, ExtendedMenusOnlyWhereTheModelHasThem) {
    EXPECT_NE(FindMenu(*FindModel(4), 40), nullptr);
    EXPECT_NE(FindMenu(*FindModel(80), 40), nullptr);
    EXPECT_EQ(FindMenu(*FindModel(5), 40), nullptr);
    EXPECT_EQ(FindMenu(*FindModel(11), 40), nullptr);
    EXPECT_EQ(FindModel(6), nullptr);
    EXPECT_EQ(KnownModelCodes(), (std::vector<uint8_t>{4, 5, 7, 9, 11, 80, 81, 177}));
    EXPECT_TRUE(FindModel(4)->lockoutFunctionsFirst);
    EXPECT_FALSE(FindModel(5)->lockoutFunctionsFirst);
}

}  // namespace
