// Learning a surface's control from the user's own moves: an encoder's encoding from one
// detent each way (two each way for binary offset, which a pot near mid-travel also sends),
// an absolute knob, a button's first press.
#include <gtest/gtest.h>

#include "surface/Learner.h"

namespace {

TEST(LearnerTest, OneDetentEachWayTellsTheEncodingAndButtonsTheirFirstPress) {
    const std::pair<std::pair<int, int>, Encoding> turns[] = {
        {{0x01, 0x7F}, Encoding::TwosComplement},  {{0x01, 0x41}, Encoding::SignBit},
        {{0x41, 0x01}, Encoding::SignBitInverted}, {{0x02, 0x7E}, Encoding::TwosComplement},
        {{0x45, 0x44}, Encoding::Absolute},
    };
    for (const auto& [values, encoding] : turns) {
        Learner learner({PanelControl::Kind::Knob, 3, {}});
        // Another control's message before the knob's second detent starts over on it.
        EXPECT_FALSE(learner.Feed({0xB0, 0x20, static_cast<uint8_t>(values.first)}));
        EXPECT_FALSE(learner.Feed({0xB2, 0x12, static_cast<uint8_t>(values.first)}));
        EXPECT_EQ(learner.Prompt(), "Now turn it one detent left.");
        EXPECT_FALSE(learner.Feed({0xB2, 0x12, static_cast<uint8_t>(values.first)}));
        EXPECT_TRUE(learner.Feed({0xB2, 0x12, static_cast<uint8_t>(values.second)}));
        EXPECT_EQ(learner.LearnedKnob().encoding, encoding) << values.first << " " << values.second;
        Mapping mapping;
        mapping.knobs[0] =
            KnobBinding{{MidiKind::ControlChange, 2, 0x12}, Encoding::SignBit, {}, 1};
        learner.ApplyTo(mapping);
        EXPECT_FALSE(mapping.knobs[0]);
        ASSERT_TRUE(mapping.knobs[3]);
        EXPECT_EQ(mapping.knobs[3]->ring->control, (MidiControl{MidiKind::ControlChange, 2, 0x12}));
    }

    // 41 then 3F is binary offset or a pot near mid-travel: a second right and left tell.
    const std::pair<std::vector<uint8_t>, Encoding> confirmed[] = {
        {{0x41, 0x3F, 0x41, 0x41, 0x3E}, Encoding::BinaryOffset},
        {{0x41, 0x3F, 0x40}, Encoding::Absolute},
        {{0x42, 0x3F, 0x41, 0x43}, Encoding::Absolute},
    };
    for (const auto& [values, encoding] : confirmed) {
        Learner learner({PanelControl::Kind::Knob, 0, {}});
        for (size_t at = 0; at + 1 < values.size(); ++at) {
            EXPECT_FALSE(learner.Feed({0xB0, 0x07, values[at]})) << at;
        }
        EXPECT_EQ(learner.Prompt(),
                  values.size() == 3 ? "Once more: one detent right." : "And one detent left.");
        EXPECT_TRUE(learner.Feed({0xB0, 0x07, values.back()}));
        EXPECT_EQ(learner.LearnedKnob().encoding, encoding);
    }

    Learner button({PanelControl::Kind::FunctionButton, 4, {}});
    EXPECT_EQ(button.Prompt(), "Press the surface's button for Function button 5.");
    EXPECT_FALSE(button.Feed({0x90, 0x30, 0x00}));
    EXPECT_FALSE(button.Feed({0xF8}));
    EXPECT_TRUE(button.Feed({0x90, 0x30, 0x7F}));
    Mapping mapping;
    mapping.buttons.push_back(
        {{PanelControl::Kind::FunctionButton, 4, {}}, {MidiKind::Note, 0, 1}});
    button.ApplyTo(mapping);
    ASSERT_EQ(mapping.buttons.size(), 1U);
    EXPECT_EQ(mapping.buttons[0].control, (MidiControl{MidiKind::Note, 0, 0x30}));
}

}  // namespace
