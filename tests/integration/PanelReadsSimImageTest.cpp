// The panel's own reader over every model's image: the two sides were written separately
// from the same format, so agreement here is worth more than either side's tests alone.
#include <gtest/gtest.h>

#include "model/MenuImageRecords.h"
#include "model/PanelModel.h"
#include "sim/models/MenuImageBuilder.h"
#include "sim/models/ModelCatalog.h"
#include "tests/support/SimLineFixture.h"
#include "unit/MenuImageDownload.h"
#include "unit/MenuImageParser.h"

namespace {

class PanelReadsSimImageTest : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override { ResetProgramState(); }
    void TearDown() override { ResetProgramState(); }
};

TEST_P(PanelReadsSimImageTest, EveryRecordLandsInItsTable) {
    const ModelDefinition& model = *FindModel(GetParam());
    const std::vector<uint8_t> image = BuildModelImage(model);
    ASSERT_EQ(WalkMenuImage(image, MenuEntryWords(model.family)), MenuImageWalk::Complete);

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
    const int buttons = MenuButtonCount(model.family);
    EXPECT_EQ(key.entry[static_cast<size_t>(buttons)], 135);
    EXPECT_EQ(g_menuTable[37].flags & kFlagMenuOpensDialog, kFlagMenuOpensDialog);
    EXPECT_EQ(g_menuTable[15].shortName, "Config");

    // Messages.
    EXPECT_EQ(g_messageTable[5].flags & kFlagMessageQuestion, kFlagMessageQuestion);
    EXPECT_EQ(g_messageTable[5].text, "Overwrite the stored setup?");
    EXPECT_EQ(g_messageTable[1].caption, "Key Input");
}

INSTANTIATE_TEST_SUITE_P(AllModels, PanelReadsSimImageTest,
                         ::testing::Values(4, 5, 7, 9, 11, 80, 81, 177));

}  // namespace

namespace {

// The panel's download and parse against a line of simulated units, as on selecting a unit.
class PanelRetrievesFromSimTest : public SimLineFixture {
  protected:
    // Selects `unit` the way the panel does before a retrieval.
    void Select(int unit) {
        g_currentUnitAddress = static_cast<uint8_t>(unit << 4);
        ASSERT_EQ(Exchange(unit, {0xC0}, kPatience200ms), Status::Ok);
        std::copy(answer.begin(), answer.begin() + 12, g_unitStatus.begin());
        g_panelModel.m_menuEntryCount = IsCompactModel(g_unitStatus[kStatusByteModel]) ? 12 : 20;
    }
};

TEST_F(PanelRetrievesFromSimTest, DownloadedImageParsesWithTheUnitsLockout) {
    units.Unit(2)->SetLockState(129, kLockStateLocked);
    units.Unit(2)->SetLockState(3, kLockStateLocked);
    Select(2);
    ASSERT_EQ(DownloadMenuImage(2), Status::Ok);
    const std::vector<uint8_t>& image = units.Unit(2)->MenuImage();
    EXPECT_TRUE(std::equal(image.begin(), image.end(), g_panelModel.MenuImage(2).begin()));

    ASSERT_EQ(ParseMenuImage(2), MenuImageWalk::Complete);
    EXPECT_TRUE(g_extendedMenus) << "model 4 defines menu 40";
    EXPECT_EQ(g_functionTable[129 - 128].flags & kFlagOnAirLocked, kFlagOnAirLocked);
    EXPECT_EQ(g_paramTable[3].flags & kFlagOnAirLocked, kFlagOnAirLocked);
    EXPECT_EQ(g_paramTable[4].flags & kFlagOnAirLocked, 0);
}

TEST_F(PanelRetrievesFromSimTest, SteppedTimingOnTheSmallCompactModels) {
    units.AddUnit(3, 7);
    Select(3);
    ASSERT_EQ(DownloadMenuImage(3), Status::Ok);
    ASSERT_EQ(ParseMenuImage(3), MenuImageWalk::Complete);
    EXPECT_FALSE(g_extendedMenus);
    EXPECT_EQ(g_paramTable[94].flags & kFlagStepped, kFlagStepped);
    EXPECT_EQ(g_paramTable[94].rawMin, -64);
    EXPECT_EQ(g_menuTable[26].entry[3], 255);
}

TEST_F(PanelRetrievesFromSimTest, AnEndlessImageFailsTheDownload) {
    units.Unit(1)->Faults().Set(FaultKind::Oversized, 0);
    Select(1);
    EXPECT_NE(DownloadMenuImage(1), Status::Ok);
}

}  // namespace
