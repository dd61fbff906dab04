// Every model's menu image as the simulator builds it, walked by the panel's own reader. The
// two sides were written separately from the same format, so agreement here is worth more
// than either side's tests alone: every record is compared with the definition it came from,
// a few with values known by hand, and the model data is checked for what the panel needs.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "model/MenuImageReader.h"
#include "model/MenuImageRecords.h"
#include "model/PanelModel.h"
#include "sim/models/MenuImageBuilder.h"
#include "sim/models/ModelCatalog.h"

namespace {

struct HashCut {
    std::string text;
    bool cut;
};

// The name rule as the panel shows names: trimmed, cut at a "#" after the first character.
HashCut Shown(const std::string& raw) {
    std::string text = Trimmed(raw);
    const size_t hash = text.find('#');
    if (hash != std::string::npos && hash > 0) {
        return {text.substr(0, hash), true};
    }
    return {text, false};
}

int ExpectedFlags(uint16_t flags, bool cut) {
    return cut ? (flags | kFlagHashSuffix) : (flags & ~kFlagHashSuffix);
}

class SimImageReadTest : public ::testing::TestWithParam<uint8_t> {
  protected:
    void SetUp() override {
        ResetProgramState();
        model = FindModel(GetParam());
        ASSERT_NE(model, nullptr);
        image = BuildModelImage(*model);
        ASSERT_LE(image.size(), static_cast<size_t>(kMenuImageSize));
        buttons = MenuButtonCount(model->family);
        walk = WalkMenuImage(image, MenuEntryWords(model->family));
    }
    void TearDown() override { ResetProgramState(); }

    bool Compact() const { return model->family == MenuFamily::Compact; }
    static bool HasParam(int number) { return !g_paramTable[number].name.empty(); }
    static bool HasFunction(int number) { return g_functionTable[number - 128].number == number; }
    static bool HasMenu(int number) { return !g_menuTable[number].title.empty(); }

    const ModelDefinition* model = nullptr;
    std::vector<uint8_t> image;
    int buttons = 0;
    MenuImageWalk walk = MenuImageWalk::Truncated;
};

TEST_P(SimImageReadTest, TheWholeImageIsRead) {
    EXPECT_EQ(walk, MenuImageWalk::Complete);
    EXPECT_NE(image[0], kImageNotLoaded) << "byte 0 must not look like the not-loaded marker";
}

TEST_P(SimImageReadTest, ParametersMatchTheirDefinitions) {
    for (const auto* set : model->parameterSets) {
        for (const ParamDef& def : *set) {
            const ParamRecord& record = g_paramTable[def.number];
            const HashCut name = Shown(def.name);
            SCOPED_TRACE(def.name);
            EXPECT_EQ(record.number, def.number);
            EXPECT_EQ(record.name, name.text);
            EXPECT_EQ(record.flags, ExpectedFlags(def.flags, name.cut));
            EXPECT_EQ(record.rawMin, def.rawMin);
            EXPECT_EQ(record.rawMax, def.rawMax);
            EXPECT_EQ(record.dispMin, def.dispMin);
            EXPECT_EQ(record.dispMax, def.dispMax);
            EXPECT_EQ(record.extra, static_cast<int32_t>(RecordExtra(def.number)));
            const int count = static_cast<int>(def.options.size());
            for (int k = 1; k <= count; ++k) {
                const int slot = 3 - count + k - 1;
                if (slot < 0) {
                    continue;
                }
                EXPECT_EQ(record.options[slot].first, Trimmed(def.options[k - 1].shortText));
                EXPECT_EQ(record.options[slot].second, Trimmed(def.options[k - 1].longText));
            }
        }
    }
}

TEST_P(SimImageReadTest, FunctionsMatchTheirDefinitions) {
    for (const auto* set : model->functionSets) {
        for (const FunctionDef& def : *set) {
            const FunctionRecord& record = g_functionTable[def.number - 128];
            SCOPED_TRACE(def.name);
            EXPECT_EQ(record.number, def.number);
            EXPECT_EQ(record.minValue, def.minValue);
            EXPECT_EQ(record.maxValue, def.maxValue);
            EXPECT_EQ(record.optionCount, static_cast<int>(def.options.size()));
            std::string label = " ";
            bool cut = false;
            for (size_t i = 0; i < def.options.size(); ++i) {
                if (i == 0) {
                    const HashCut first = Shown(def.options[0].label);
                    label = first.text;
                    cut = first.cut;
                } else {
                    label += "," + Trimmed(def.options[i].label);
                }
            }
            EXPECT_EQ(record.label, label);
            EXPECT_EQ(record.flags, ExpectedFlags(def.flags, cut));
        }
    }
    // The builder's closing record is never parsed.
    EXPECT_NE(g_functionTable[127].label, "end");
    EXPECT_FALSE(HasFunction(kLastFunctionNumber));
}

TEST_P(SimImageReadTest, MenusMatchTheirDefinitions) {
    for (const auto* set : model->menuSets) {
        for (const MenuDef& def : *set) {
            const MenuRecord& record = g_menuTable[def.number];
            SCOPED_TRACE(def.title);
            EXPECT_EQ(record.number, def.number);
            EXPECT_EQ(record.flags, def.flags);
            EXPECT_EQ(record.title, Trimmed(def.title));
            EXPECT_EQ(record.shortName, Trimmed(def.shortName));
            for (int knob = 0; knob < kMenuKnobs; ++knob) {
                EXPECT_EQ(record.knobParam[knob], def.knobs[knob]);
            }
            for (int button = 0; button < buttons; ++button) {
                EXPECT_EQ(record.entry[button], def.targets[button]);
            }
            for (int function = 0; function < kMenuFunctionButtons; ++function) {
                EXPECT_EQ(record.entry[buttons + function], def.functions[function]);
            }
        }
    }
}

TEST_P(SimImageReadTest, MessagesMatchTheirDefinitionsAndSomeAsk) {
    int compared = 0;
    for (const auto* set : model->messageSets) {
        for (const MessageDef& def : *set) {
            if (def.number >= kMessageCount) {
                continue;
            }
            const MessageRecord& record = g_messageTable[def.number];
            SCOPED_TRACE(def.caption);
            EXPECT_EQ(record.number, def.number);
            EXPECT_EQ(record.flags, def.flags);
            EXPECT_EQ(record.caption, Trimmed(def.caption));
            EXPECT_EQ(record.text, Trimmed(def.text));
            ++compared;
        }
    }
    EXPECT_GT(compared, 0);
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

TEST_P(SimImageReadTest, RecordsKnownByHandReadAsWritten) {
    ASSERT_EQ(walk, MenuImageWalk::Complete);

    // Parameters: names with and without a suffix, option slots filled from the end.
    const ParamRecord& source = g_paramTable[6];
    EXPECT_EQ(source.name, "Key Source");
    EXPECT_EQ(source.flags & kFlagHashSuffix, kFlagHashSuffix);
    EXPECT_EQ(source.flags & 0x0108, 0x0108);
    EXPECT_EQ(source.options[0].first, "Ext");
    EXPECT_EQ(source.options[2].second, "Self key");
    const ParamRecord& hue = g_paramTable[13];
    EXPECT_EQ(hue.options[2], (std::pair<std::string, std::string>{"deg", "degrees"}));
    EXPECT_EQ(hue.options[0].first, "");
    const ParamRecord& timing = g_paramTable[94];
    EXPECT_EQ(timing.rawMin, -64);
    EXPECT_EQ(timing.dispMax, 63);
    EXPECT_EQ(timing.flags & kFlagHashSuffix, 0);
    EXPECT_EQ(g_paramTable[7].flags & kFlagTimecode, kFlagTimecode);
    EXPECT_EQ(g_paramTable[101].name, "Screen Master");

    // Functions: labels joined by commas, the suffix cut from the first.
    const FunctionRecord& keyMode = g_functionTable[135 - 128];
    EXPECT_EQ(keyMode.label, "Linear,Luma,Chroma");
    EXPECT_EQ(keyMode.optionCount, 3);
    EXPECT_EQ(keyMode.maxValue, 2);
    EXPECT_EQ(keyMode.flags & kFlagHashSuffix, kFlagHashSuffix);
    EXPECT_EQ(g_functionTable[216 - 128].label, "Memory 1");
    EXPECT_EQ(g_functionTable[163 - 128].flags & kFlagMomentary, kFlagMomentary);

    // Menus: targets, function entries and titles.
    const MenuRecord& key = g_menuTable[0];
    EXPECT_EQ(key.title, "Key Setup");
    EXPECT_EQ(key.entry[1], 1);
    EXPECT_EQ(key.knobParam[4], 6);
    EXPECT_EQ(key.entry[static_cast<size_t>(buttons)], 135);
    EXPECT_EQ(g_menuTable[37].flags & kFlagMenuOpensDialog, kFlagMenuOpensDialog);
    EXPECT_EQ(g_menuTable[15].shortName, "Config");

    // Messages.
    EXPECT_EQ(g_messageTable[5].flags & kFlagMessageQuestion, kFlagMessageQuestion);
    EXPECT_EQ(g_messageTable[5].text, "Overwrite the stored setup?");
    EXPECT_EQ(g_messageTable[1].caption, "Key Input");
}

TEST_P(SimImageReadTest, CarriesTheSpecialParametersAndFunctions) {
    for (int number : {59, 60, 61, 93, 94, 95, 96, 97, 98, 101, 114}) {
        EXPECT_TRUE(HasParam(number)) << "parameter " << number;
    }
    for (int number : {129, 130, 132, 159, 161, 163, 168, 174, 211, 214, 216,
                       217, 218, 219, 220, 221, 222, 223, 224, 225, 226, 227}) {
        EXPECT_TRUE(HasFunction(number)) << "function " << number;
    }
}

TEST_P(SimImageReadTest, CoversEveryDisplayKindAndSuffix) {
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

TEST_P(SimImageReadTest, MenusLeadOnlyToMenusThatExist) {
    std::set<int> required = {0, 7, 11, 15, 17, 18, 26, 28, 30, 31, 32, 37, 45, 46};
    required.insert(Compact() ? 33 : 34);
    for (int number : required) {
        EXPECT_TRUE(HasMenu(number)) << "menu " << number;
    }
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

INSTANTIATE_TEST_SUITE_P(EveryModel, SimImageReadTest, ::testing::ValuesIn(KnownModelCodes()),
                         [](const ::testing::TestParamInfo<uint8_t>& info) {
                             return "Model" + std::to_string(info.param);
                         });

}  // namespace
