#include <gtest/gtest.h>

#include "controls/KnobGeometry.h"
#include "tests/controls/ControlsTestSupport.h"

namespace {

const KnobGeometry kPanelKnob{0, 10, 87, 11};

TEST(KnobGeometry, ThumbRowsOfEveryPosition) {
    const int expected[] = {5, 12, 20, 27, 35, 43, 50, 58, 65, 73, 81};
    for (int p = 0; p <= 10; ++p) {
        EXPECT_EQ(kPanelKnob.RowOfPosition(p), expected[p]) << "position " << p;
    }
}

TEST(KnobGeometry, PointerRowsMapBackToPositions) {
    for (int row = 43; row <= 50; ++row) {
        EXPECT_EQ(kPanelKnob.PositionOfRow(row), 5) << "row " << row;
    }
    EXPECT_EQ(kPanelKnob.PositionOfRow(42), 4);
    EXPECT_EQ(kPanelKnob.PositionOfRow(51), 6);
    EXPECT_EQ(kPanelKnob.PositionOfRow(5), 0);
    EXPECT_EQ(kPanelKnob.PositionOfRow(81), 10);
    // Truncation both ways: the thumb's own row can read as the position above it.
    EXPECT_EQ(kPanelKnob.PositionOfRow(kPanelKnob.RowOfPosition(1)), 0);
    EXPECT_EQ(kPanelKnob.PositionOfRow(73), 8);
}

TEST(KnobGeometry, RowsAndPositionsStayInsideTheTrack) {
    EXPECT_EQ(kPanelKnob.ClampRow(-40), 5);
    EXPECT_EQ(kPanelKnob.ClampRow(200), 82);
    EXPECT_EQ(kPanelKnob.ClampPosition(kPanelKnob.PositionOfRow(82)), 10);
    EXPECT_EQ(kPanelKnob.ClampPosition(-3), 0);
    EXPECT_EQ(kPanelKnob.ClampPosition(14), 10);
}

TEST(KnobGeometry, EmptyRangeOrMissingPicturesGiveASaneThumb) {
    const KnobGeometry emptyRange{5, 5, 87, 11};
    EXPECT_EQ(emptyRange.RowOfPosition(5), 5);
    EXPECT_EQ(emptyRange.PositionOfRow(60), 5);
    const KnobGeometry noPictures{0, 10, 0, 0};
    EXPECT_EQ(noPictures.RowOfPosition(7), 0);
    EXPECT_EQ(noPictures.PositionOfRow(30), 0);
    EXPECT_EQ(noPictures.ClampRow(30), 0);
}

}  // namespace
