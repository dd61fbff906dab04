// The keyframe menu of a compact unit: the effect dialog's result taken over, keyframes
// inserted and deleted on the simulated unit, and the 32-keyframe limit.
#include <gtest/gtest.h>

#include <algorithm>

#include "controls/CCanvasCtrl.h"
#include "controls/CInfoBar.h"
#include "link/StorageTables.h"
#include "sim/unit/UnitStorage.h"
#include "tests/panel/PanelStoryTest.h"

namespace {

class KeyframeMenuTest : public PanelStoryTest {
  protected:
    // An effect with keyframes at times 100, 200, ... on unit 2, loaded as the effect dialog
    // loads it, with the keyframe menu on show.
    void LoadEffect(int keyframes) {
        StoredEffect stored{.name = "Wipe"};
        EffectRecord& effect = g_effectTable[0];
        effect = EffectRecord{.keyframeCount = keyframes, .currentKeyframe = 1};
        for (int k = 0; k < keyframes; ++k) {
            const auto time = static_cast<uint16_t>(100 * (k + 1));
            stored.keyframes.push_back({time, {}});
            effect.keyframes[k].time = time;
        }
        std::vector<StoredEffect>& effects = Unit(2).Storage().Effects();
        effects.clear();
        effects.push_back(stored);
        g_currentEffect = 0;
        Select(2);
        panel->Console().OnMenuButton(6);
        Record(kEffectDialog);
        panel->Console().OnMenuButton(5);
        SentRequests();
    }
    size_t StoredKeyframes() { return Unit(2).Storage().Effects()[0].keyframes.size(); }
    const ParamRecord& KeyframeKnob() const { return g_panelModel.m_keyframeParam; }
};

TEST_F(KeyframeMenuTest, InsertAndDeleteFollowTheUnit) {
    // A frame time left from an earlier effect gives way to the loaded one's first keyframe.
    g_panelModel.m_frameTimeParam.value = 999;
    LoadEffect(3);
    EXPECT_EQ(KeyframeKnob().value, 1);
    EXPECT_EQ(KeyframeKnob().rawMax, 3);
    EXPECT_EQ(g_panelModel.m_frameTimeParam.value, 100);
    EXPECT_EQ(panel->KnobDisplay(4)->Param(), &g_panelModel.m_frameTimeParam);
    EXPECT_EQ(panel->KnobDisplay(7)->Param(), &g_panelModel.m_keyframeParam);

    // Insert: count 4 sent, keyframe 4 current, its time shown.
    g_panelModel.m_frameTimeParam.value = 450;
    panel->Console().OnFunctionButton(3);
    EXPECT_TRUE(Contains(SentRequests(), {0xB2, 0, 4, 1, 0x01, 0xC2, 0, 0, 0}));
    EXPECT_EQ(StoredKeyframes(), 4u);
    EXPECT_EQ(panel->KeyframeCount(), 4);
    EXPECT_EQ(KeyframeKnob().value, 4);
    EXPECT_EQ(KeyframeKnob().rawMax, 4);
    EXPECT_EQ(g_panelModel.m_frameTimeParam.value, 450);

    // The KeyFrame knob picks keyframe 1; the frame time follows at the next binding.
    g_panelModel.m_keyframeParam.value = 1;
    panel->Console().BindKnobs();
    EXPECT_EQ(panel->CurrentKeyframe(), 1);
    EXPECT_EQ(g_panelModel.m_frameTimeParam.value, 100);

    // Deleting keyframe 1 goes to index 0, deletes it, and goes to index -1 as a byte.
    panel->Console().OnFunctionButton(4);
    const auto sent = SentRequests();
    EXPECT_TRUE(Contains(sent, {0xB2, 0, 0, 4}));
    EXPECT_TRUE(Contains(sent, {0xB2, 0, 0, 0, 0, 100}));
    EXPECT_TRUE(Contains(sent, {0xB2, 0, 255, 4}));
    EXPECT_EQ(StoredKeyframes(), 3u);
    EXPECT_EQ(panel->KeyframeCount(), 3);
    EXPECT_EQ(panel->CurrentKeyframe(), 1);
    EXPECT_EQ(g_panelModel.m_frameTimeParam.value, 200);  // what the unit now holds first

    panel->Console().OnFunctionButton(5);
    EXPECT_TRUE(Contains(SentRequests(), {0xA5, 0}));
}

TEST_F(KeyframeMenuTest, InsertIsRefusedAtThirtyTwoKeyframes) {
    LoadEffect(kMaxKeyframes);
    panel->Console().OnFunctionButton(3);
    EXPECT_TRUE(SentRequests().empty());
    EXPECT_EQ(panel->KeyframeCount(), kMaxKeyframes);
    EXPECT_NE(panel->InfoBar()->Message().find("32 keyframes"), std::string::npos);
    EXPECT_EQ(StoredKeyframes(), static_cast<size_t>(kMaxKeyframes));

    // Deleting the only keyframe leaves none current and an empty KeyFrame range.
    LoadEffect(1);
    panel->Console().OnFunctionButton(4);
    EXPECT_EQ(StoredKeyframes(), 0u);
    EXPECT_EQ(panel->CurrentKeyframe(), 0);
    EXPECT_EQ(KeyframeKnob().value, 0);
    EXPECT_EQ(KeyframeKnob().rawMax, 0);
    SentRequests();
    panel->Console().OnFunctionButton(4);
    EXPECT_TRUE(SentRequests().empty());
}

}  // namespace
