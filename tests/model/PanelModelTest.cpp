#include <gtest/gtest.h>

#include <string>

#include "model/PanelModel.h"

namespace {

class PanelModelTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetProgramState(); }
    void TearDown() override { ResetProgramState(); }
};

TEST_F(PanelModelTest, EveryMenuImageStartsNotLoaded) {
    for (int unit = 0; unit < kUnitSlots; ++unit) {
        g_panelModel.MenuImage(unit)[0] = 0x01;
    }
    ResetProgramState();
    for (int unit = 0; unit < kUnitSlots; ++unit) {
        EXPECT_EQ(g_panelModel.MenuImage(unit)[0], 0xFF) << unit;
        EXPECT_FALSE(g_panelModel.IsImageLoaded(unit)) << unit;
    }
}

TEST_F(PanelModelTest, KeyframeMenuRecordsAndMaps) {
    struct Row {
        const ParamRecord& record;
        const char* name;
        int flags;
        int top;
    };
    const Row rows[] = {
        {g_panelModel.m_frameTimeParam, "Frame Time", 0x4000, 0},
        {g_panelModel.m_taperInParam, "Taper In", 0x8000, 100},
        {g_panelModel.m_taperOutParam, "Taper Out", 0x8000, 100},
        {g_panelModel.m_keyframeParam, "KeyFrame", 0x8008, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.record.name, row.name);
        EXPECT_EQ(row.record.flags, row.flags);
        EXPECT_EQ(row.record.rawMin, 0);
        EXPECT_EQ(row.record.rawMax, row.top);
        EXPECT_EQ(row.record.dispMin, 0);
        EXPECT_EQ(row.record.dispMax, row.top);
        EXPECT_EQ(row.record.value, 0);
    }
    const uint8_t functions[kFunctionButtonCount] = {127, 127, 131, 128, 129, 130};
    for (int i = 0; i < kFunctionButtonCount; ++i) {
        EXPECT_EQ(g_keyframeFunctionMap[i], functions[i]) << i;
    }
    for (uint8_t knob : g_keyframeKnobMap) {
        EXPECT_EQ(knob, 128);
    }
}

TEST_F(PanelModelTest, CustomMenusStartEmpty) {
    g_customKnobMap[4][4][7] = 3;
    g_customFunctionMap[1][0][0] = 5;
    ResetProgramState();
    for (int unit = 0; unit < kUnitSlots; ++unit) {
        for (int menu = 0; menu < kCustomMenuCount; ++menu) {
            for (uint8_t knob : g_customKnobMap[unit][menu]) {
                ASSERT_EQ(knob, 128) << unit << " " << menu;
            }
            for (uint8_t button : g_customFunctionMap[unit][menu]) {
                ASSERT_EQ(button, 127) << unit << " " << menu;
            }
        }
    }
}

TEST_F(PanelModelTest, CompactFamilyAndUnitSlots) {
    for (int model = 0; model < 256; ++model) {
        const bool compact = model == 4 || model == 5 || model == 7 || model == 9;
        EXPECT_EQ(IsCompactModel(static_cast<uint8_t>(model)), compact) << model;
    }
    EXPECT_EQ(UnitOfAddress(0x00), 0);
    EXPECT_EQ(UnitOfAddress(0x12), 1);
    EXPECT_EQ(UnitOfAddress(0x40), 4);
    EXPECT_EQ(UnitOfAddress(0x50), 0);  // no fifth unit: never an index past the slots
    EXPECT_EQ(UnitOfAddress(0xF2), 0);
    EXPECT_EQ(std::string(g_faceName), "Trebuchet MS");
}

TEST(DisplayedValue, ScalesTruncatesAndClamps) {
    struct Row {
        const char* name;
        int16_t rawMin, rawMax, dispMin, dispMax, value;
        int shown;
    };
    const Row rows[] = {
        {"same ranges show the raw value, unclamped", 0, 100, 0, 100, 150, 150},
        {"percent of 0..1000", 0, 1000, 0, 100, 505, 50},                     // 50.5
        {"negative results truncate toward zero", 0, 1000, -50, 50, 7, -49},  // -49.3
        {"the value is not offset by rawMin", 100, 200, 0, 10, 150, 10},      // 15 -> 10
        {"below the display range", 0, 100, 10, 20, -100, 10},                // 0 -> 10
        {"above the display range", 0, 100, 10, 20, 100, 20},
        {"empty raw range", 5, 5, 1, 8, 3, 1},
        {"extreme words", -32768, -32767, -32768, 32767, 32767, 32767},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ParamRecord param;
        param.rawMin = row.rawMin;
        param.rawMax = row.rawMax;
        param.dispMin = row.dispMin;
        param.dispMax = row.dispMax;
        param.value = row.value;
        EXPECT_EQ(DisplayedValue(param), row.shown);
    }
}

}  // namespace
