#include <gtest/gtest.h>

#include <string>

#include "model/MenuImageReader.h"
#include "model/MenuImageRecords.h"
#include "model/PanelModel.h"
#include "sim/models/MenuImageBuilder.h"
#include "sim/models/ModelCatalog.h"

namespace {

// Images written by the simulator's builder from each model's definition, walked by the
// parser, and every record compared with the definition it came from.

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

class BuilderImageParseTest : public ::testing::TestWithParam<uint8_t> {
  protected:
    void SetUp() override {
        ResetProgramState();
        model = FindModel(GetParam());
        ASSERT_NE(model, nullptr);
        image = BuildModelImage(*model);
        ASSERT_LE(image.size(), static_cast<size_t>(kMenuImageSize));
        entryWords = MenuEntryWords(model->family);
        buttons = MenuButtonCount(model->family);
        walk = WalkMenuImage(image, entryWords);
    }
    void TearDown() override { ResetProgramState(); }

    const ModelDefinition* model = nullptr;
    std::vector<uint8_t> image;
    int entryWords = 0;
    int buttons = 0;
    MenuImageWalk walk = MenuImageWalk::Truncated;
};

TEST_P(BuilderImageParseTest, TheWholeImageIsRead) {
    EXPECT_EQ(walk, MenuImageWalk::Complete);
}

TEST_P(BuilderImageParseTest, ParametersMatchTheirDefinitions) {
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

TEST_P(BuilderImageParseTest, FunctionsMatchTheirDefinitions) {
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
}

TEST_P(BuilderImageParseTest, MenusMatchTheirDefinitions) {
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

TEST_P(BuilderImageParseTest, MessagesMatchTheirDefinitions) {
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
}

INSTANTIATE_TEST_SUITE_P(EveryModel, BuilderImageParseTest, ::testing::ValuesIn(KnownModelCodes()),
                         [](const ::testing::TestParamInfo<uint8_t>& info) {
                             return "Model" + std::to_string(info.param);
                         });

}  // namespace
