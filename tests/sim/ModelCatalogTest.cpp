// Every model's image read by the panel's own reader, and the model data checked for the
// numbers the panel treats specially.
#include <gtest/gtest.h>

#include <set>

#include "model/MenuImageRecords.h"
#include "model/PanelModel.h"
#include "sim/models/MenuImageBuilder.h"
#include "sim/models/ModelCatalog.h"

namespace {

class ModelImageTest : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        ResetProgramState();
        model = FindModel(GetParam());
        ASSERT_NE(model, nullptr);
        image = BuildModelImage(*model);
        walk = WalkMenuImage(image, MenuEntryWords(model->family));
    }
    void TearDown() override { ResetProgramState(); }

    bool Compact() const { return model->family == MenuFamily::Compact; }
    static bool HasParam(int number) { return !g_paramTable[number].name.empty(); }
    static bool HasFunction(int number) { return g_functionTable[number - 128].number == number; }
    static bool HasMenu(int number) { return !g_menuTable[number].title.empty(); }

    const ModelDefinition* model = nullptr;
    std::vector<uint8_t> image;
    MenuImageWalk walk = MenuImageWalk::Truncated;
};

TEST_P(ModelImageTest, ReadsCompletelyAndFitsTheBlock) {
    EXPECT_EQ(walk, MenuImageWalk::Complete);
    EXPECT_NE(image[0], 0xFF) << "byte 0 must not look like the not-loaded marker";
    EXPECT_LE(image.size(), 65536u);
}

TEST_P(ModelImageTest, CarriesTheSpecialParametersAndFunctions) {
    for (int number : {59, 60, 61, 93, 94, 95, 96, 97, 98, 101, 114}) {
        EXPECT_TRUE(HasParam(number)) << "parameter " << number;
    }
    for (int number : {129, 130, 132, 159, 161, 163, 168, 174, 211, 214, 216,
                       217, 218, 219, 220, 221, 222, 223, 224, 225, 226, 227}) {
        EXPECT_TRUE(HasFunction(number)) << "function " << number;
    }
    // The never-parsed last function record is the builder's own.
    EXPECT_FALSE(HasFunction(kLastFunctionNumber));
}

TEST_P(ModelImageTest, CoversEveryDisplayKindAndSuffix) {
    std::set<int> kinds;
    bool suffixedName = false;
    for (int number = 0; number < 128; ++number) {
        const ParamRecord& param = g_paramTable[number];
        if (param.name.empty()) {
            continue;
        }
        EXPECT_EQ(param.number, number);
        kinds.insert(param.flags & 0xC118);
        suffixedName |= (param.flags & kFlagHashSuffix) != 0;
        EXPECT_LE(param.rawMin, param.rawMax) << "parameter " << number;
    }
    for (int kind : {0x0000, 0x0008, 0x0010, 0x0108, 0x4000, 0x8000}) {
        EXPECT_TRUE(kinds.count(kind)) << "display kind " << kind;
    }
    EXPECT_TRUE(suffixedName);
}

TEST_P(ModelImageTest, MenusLeadOnlyToMenusThatExist) {
    std::set<int> required = {0, 7, 11, 15, 17, 18, 26, 28, 30, 31, 32, 37, 45, 46};
    required.insert(Compact() ? 33 : 34);
    for (int number : required) {
        EXPECT_TRUE(HasMenu(number)) << "menu " << number;
    }
    const int buttons = MenuButtonCount(model->family);
    for (int number = 0; number < 64; ++number) {
        const MenuRecord& menu = g_menuTable[number];
        if (!HasMenu(number)) {
            continue;
        }
        EXPECT_FALSE(menu.shortName.empty()) << "menu " << number;
        for (int i = 0; i < buttons; ++i) {
            const int target = menu.entry[static_cast<size_t>(i)];
            EXPECT_TRUE(target == kNoTarget || (target < 64 && HasMenu(target)))
                << "menu " << number << " button " << i << " leads to " << target;
        }
        for (int i = buttons; i < buttons + kMenuFunctionButtons; ++i) {
            const int function = menu.entry[static_cast<size_t>(i)];
            EXPECT_TRUE(function == kNoFunction || (function >= 128 && HasFunction(function)))
                << "menu " << number << " function " << function;
        }
        for (int knob : menu.knobParam) {
            EXPECT_TRUE(knob == kNoKnobParam || (knob >= 0 && knob < 128 && HasParam(knob)))
                << "menu " << number << " knob " << knob;
        }
    }
    for (int number : {17, 32, 37, 45, 46}) {
        EXPECT_EQ(g_menuTable[number].flags & kFlagMenuOpensDialog, kFlagMenuOpensDialog);
    }
}

TEST_P(ModelImageTest, MessagesIncludeQuestions) {
    int messages = 0;
    int questions = 0;
    for (const MessageRecord& message : g_messageTable) {
        if (message.text.empty()) {
            continue;
        }
        ++messages;
        questions += (message.flags & kFlagMessageQuestion) ? 1 : 0;
    }
    EXPECT_GE(messages, 6);
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
