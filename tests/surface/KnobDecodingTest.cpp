// A surface's knobs as the panel reads them: the four relative encodings with their
// acceleration, and an absolute knob's soft take-over.
#include <gtest/gtest.h>

#include "surface/Encoding.h"
#include "surface/SoftTakeover.h"

namespace {

TEST(KnobDecodingTest, EachEncodingReadsOneDetentEachWayAndFastSpinsAccelerate) {
    struct Row {
        Encoding encoding;
        int right, left, threeRight, threeLeft;
    };
    const Row rows[] = {
        {Encoding::TwosComplement, 0x01, 0x7F, 0x03, 0x7D},
        {Encoding::BinaryOffset, 0x41, 0x3F, 0x43, 0x3D},
        {Encoding::SignBit, 0x01, 0x41, 0x03, 0x43},
        {Encoding::SignBitInverted, 0x41, 0x01, 0x43, 0x03},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(EncodingName(row.encoding)));
        EXPECT_EQ(EncodingNamed(EncodingName(row.encoding)), row.encoding);
        EXPECT_EQ(RelativeDetents(row.encoding, row.right), 1);
        EXPECT_EQ(RelativeDetents(row.encoding, row.left), -1);
        EXPECT_EQ(RelativeDetents(row.encoding, row.threeRight), 3);
        EXPECT_EQ(RelativeDetents(row.encoding, row.threeLeft), -3);
        EXPECT_EQ(AcceleratedSteps(RelativeDetents(row.encoding, row.right)), 1);
        EXPECT_EQ(AcceleratedSteps(RelativeDetents(row.encoding, row.threeLeft)), -9);
    }
    EXPECT_EQ(RelativeDetents(Encoding::Absolute, 0x41), 0);
    EXPECT_EQ(RelativeDetents(Encoding::BinaryOffset, 0x40), 0);
    EXPECT_FALSE(EncodingNamed("gray-code"));
}

TEST(KnobDecodingTest, AnAbsoluteKnobFarFromTheValueWaitsUntilItPassesIt) {
    KnobState knob{true, 7, "Gain", 500, 0, 1000, ""};
    SoftTakeover takeover;
    // Value 500 sits at position 64: a knob at the bottom moving up does nothing yet.
    EXPECT_EQ(takeover.Move(10, knob), 0);
    EXPECT_EQ(takeover.Move(40, knob), 0);
    EXPECT_FALSE(takeover.Caught());
    // It passes the value: from there the value follows the knob.
    const int caught = takeover.Move(70, knob);
    EXPECT_TRUE(takeover.Caught());
    EXPECT_EQ(caught, ValueAt(knob, 70) - 500);
    knob.value += caught;
    const int next = takeover.Move(72, knob);
    EXPECT_EQ(next, ValueAt(knob, 72) - ValueAt(knob, 70));

    // The unit's own change far away lets the knob go; near the value it catches at once.
    knob.value = 100;
    takeover.Follow(knob);
    EXPECT_FALSE(takeover.Caught());
    EXPECT_EQ(takeover.Move(90, knob), 0);
    EXPECT_EQ(takeover.Move(PositionOf(knob), knob), ValueAt(knob, PositionOf(knob)) - 100);
    EXPECT_TRUE(takeover.Caught());

    // Another binding: the knob waits again, also from the other side.
    takeover.Release();
    EXPECT_EQ(takeover.Move(120, knob), 0);
    EXPECT_NE(takeover.Move(5, knob), 0);

    // An empty range never divides by zero, and a knob on it turns nothing from anywhere:
    // a time with no range keeps its value.
    const KnobState empty{true, 3, "Fixed", 4, 4, 4, ""};
    EXPECT_EQ(PositionOf(empty), 0);
    EXPECT_EQ(ValueAt(empty, 127), 4);
    const KnobState frameTime{true, 12, "Frame Time", 250, 0, 0, ""};
    SoftTakeover onEmpty;
    for (int position : {0, 1, 64, 127, 0}) {
        EXPECT_EQ(onEmpty.Move(position, frameTime), 0) << position;
    }
}

}  // namespace
