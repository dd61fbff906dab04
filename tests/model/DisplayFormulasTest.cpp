#include <gtest/gtest.h>

#include "model/KnobGauge.h"
#include "model/OptionLabels.h"
#include "tests/support/ModelRecords.h"

namespace {

TEST(KnobGauge, RangeFromZeroAtItsEnds) {
    ParamRecord param = MakeParam("Gain", 0, 0, 100, 0, 100, 0);
    GaugePicture gauge = ComputeGauge(param, 0, 148);
    EXPECT_EQ(gauge.barLeft, 0);
    EXPECT_EQ(gauge.barRight, 0);  // trunc(148 * 0.001): no bar
    EXPECT_EQ(gauge.valueText, "0%");
    EXPECT_EQ(gauge.minLabel, "0%");
    EXPECT_EQ(gauge.maxLabel, "100%");

    param.value = 100;
    gauge = ComputeGauge(param, 0, 148);
    EXPECT_EQ(gauge.barRight, 148);
    EXPECT_EQ(gauge.valueText, "100%");

    param.value = 50;
    gauge = ComputeGauge(param, 0, 148);
    EXPECT_EQ(gauge.barRight, 74);  // trunc(148 * 0.501)
    EXPECT_EQ(gauge.valueText, "50%");
}

TEST(KnobGauge, WideRangesCarryTheBias) {
    ParamRecord param = MakeParam("Level", 0, 0, 1000, 0, 1000, 1000);
    EXPECT_EQ(ComputeGauge(param, 0, 148).valueText, "1002%");
    param.value = 0;
    EXPECT_EQ(ComputeGauge(param, 0, 148).valueText, "2%");
    param.dispMax = 499;
    EXPECT_EQ(ComputeGauge(param, 0, 148).valueText, "0%");
}

TEST(KnobGauge, RangeAroundZeroDrawsFromTheZeroPoint) {
    ParamRecord param = MakeParam("Pan", 0, 0, 200, -100, 100, 100);
    GaugePicture gauge = ComputeGauge(param, 0, 148);
    EXPECT_EQ(gauge.barLeft, 73);
    EXPECT_EQ(gauge.barRight, 74);
    EXPECT_EQ(gauge.valueText, "0%");
    EXPECT_EQ(gauge.minLabel, "-100%");

    param.value = 0;  // fully left: from the value to the zero point
    gauge = ComputeGauge(param, 0, 148);
    EXPECT_EQ(gauge.barLeft, 0);
    EXPECT_EQ(gauge.barRight, 74);
    EXPECT_EQ(gauge.valueText, "-100%");

    param.value = 200;  // fully right: from one left of zero to the value
    gauge = ComputeGauge(param, 0, 148);
    EXPECT_EQ(gauge.barLeft, 73);
    EXPECT_EQ(gauge.barRight, 147);
    EXPECT_EQ(gauge.valueText, "100%");
}

TEST(KnobGauge, DisplayKindFlagsChooseNumbersAndBar) {
    ParamRecord param = MakeParam("Step", kFlagStepped | kFlagDisplayPlain, 0, 7, 0, 7, 3);
    GaugePicture gauge = ComputeGauge(param, 0, 148);
    EXPECT_FALSE(gauge.showBar);
    EXPECT_EQ(gauge.valueText, "3");
    EXPECT_EQ(gauge.minLabel, "0");
    EXPECT_EQ(gauge.maxLabel, "7");

    param = MakeParam("Input", kFlagDisplayCentred, 1, 12, 0, 100, 4);
    gauge = ComputeGauge(param, 0, 148);
    EXPECT_TRUE(gauge.showBar);
    EXPECT_EQ(gauge.valueText, "4");
    EXPECT_EQ(gauge.maxLabel, "12");  // the raw maximum
    EXPECT_EQ(gauge.minLabel, "0");

    param = MakeParam("Taper", kFlagStepped, 0, 100, 0, 100, 40);
    EXPECT_EQ(ComputeGauge(param, 0, 148).valueText, "40%");
}

TEST(KnobGauge, ReferenceMarkFollowsTheReferenceValue) {
    ParamRecord param = MakeParam("Gain", 0, 0, 100, 0, 100, 0);
    param.referenceValue = 50;
    EXPECT_EQ(ComputeGauge(param, 0, 148).referenceX, 73);  // 74, one left
    param.referenceValue = 0;
    EXPECT_EQ(ComputeGauge(param, 0, 148).referenceX, 0);
    param.referenceValue = 100;
    EXPECT_EQ(ComputeGauge(param, 0, 148).referenceX, 147);
}

TEST(KnobGauge, EmptyOrReversedRangesAndStrayValuesStayInside) {
    ParamRecord param = MakeParam("KeyFrame", kFlagStepped | kFlagDisplayPlain, 0, 0, 0, 0, 4);
    GaugePicture gauge = ComputeGauge(param, 0, 148);
    EXPECT_EQ(gauge.valueText, "4");
    EXPECT_EQ(gauge.referenceX, 0);

    param = MakeParam("Odd", 0, 10, 10, -50, -50, 10);
    gauge = ComputeGauge(param, 0, 148);
    EXPECT_GE(gauge.barLeft, 0);
    EXPECT_LE(gauge.barRight, 148);

    param = MakeParam("Stray", 0, 0, 100, 0, 100, 32000);
    param.referenceValue = -32000;
    gauge = ComputeGauge(param, 0, 148);
    EXPECT_EQ(gauge.barRight, 148);
    EXPECT_EQ(gauge.valueText, "32000%");
    EXPECT_FALSE(gauge.showReference);

    param = MakeParam("Hostile", 0, 32767, 32766, -32768, 32767, -32768);
    EXPECT_EQ(ComputeGauge(param, 0, 148).valueText, "2147483647%");

    param = MakeParam("Full", 0, -32768, 32767, -32768, 32767, 32767);
    gauge = ComputeGauge(param, 0, 148);
    EXPECT_EQ(gauge.barLeft, 73);
    EXPECT_EQ(gauge.barRight, 147);
    EXPECT_EQ(gauge.valueText, "32767%");
}

TEST(KnobGauge, AValueBeyondItsRangeShowsWhatTheUnitHolds) {
    ParamRecord param = MakeParam("Gain", 0, 0, 100, 0, 100, 150);
    param.referenceValue = 100;
    GaugePicture gauge = ComputeGauge(param, 0, 148);
    EXPECT_EQ(gauge.valueText, "150%");
    EXPECT_EQ(gauge.barRight, 148) << "the bar stops at the display's end";
    EXPECT_TRUE(gauge.showReference);
    EXPECT_EQ(gauge.referenceX, 147);

    param.referenceValue = 101;  // no place on the display: no mark
    EXPECT_FALSE(ComputeGauge(param, 0, 148).showReference);
    param.referenceValue = -1;
    EXPECT_FALSE(ComputeGauge(param, 0, 148).showReference);

    param.value = -20;  // the formula's 0.002 carries through below the range too
    gauge = ComputeGauge(param, 0, 148);
    EXPECT_EQ(gauge.valueText, "-19%");
    EXPECT_EQ(gauge.barRight, 0);
}

TEST(KnobGauge, TimecodeTexts) {
    EXPECT_EQ(TimecodeText(1800), "00:01:00:00");
    EXPECT_EQ(TimecodeText(29), "00:00:00:29");
    EXPECT_EQ(TimecodeText(0), "00:00:00:00");
    EXPECT_EQ(TimecodeText(108000 + 1800 * 2 + 30 * 3 + 4), "01:02:03:04");
    EXPECT_EQ(TimecodeText(32767), "00:18:12:07");
    EXPECT_EQ(TimecodeText(-5), "00:00:00:00");
}

TEST(KnobGauge, CoarseAccumulatorStepsPastSixtyFour) {
    CoarseAccumulator accumulator;
    for (int tick = 1; tick <= 4; ++tick) {
        EXPECT_EQ(accumulator.Add(16), 0) << "tick " << tick;
    }
    EXPECT_EQ(accumulator.Add(16), 1);  // sum 80
    EXPECT_EQ(accumulator.Sum(), 0);

    EXPECT_EQ(accumulator.Add(64), 0);  // exactly 64 is not yet a step
    EXPECT_EQ(accumulator.Add(1), 1);

    EXPECT_EQ(accumulator.Add(-25), 0);
    EXPECT_EQ(accumulator.Add(-25), 0);
    EXPECT_EQ(accumulator.Add(-25), -1);
    EXPECT_EQ(accumulator.Sum(), 0);
}

TEST(OptionLabels, ByIndex) {
    EXPECT_EQ(OptionLabel("SDI 1,SDI 2,HDMI", 0), "SDI 1");
    EXPECT_EQ(OptionLabel("SDI 1,SDI 2,HDMI", 2), "HDMI");
    EXPECT_EQ(OptionLabel("SDI 1,SDI 2,HDMI", 3), "");
    EXPECT_EQ(OptionLabel("SDI 1", -1), "");
    EXPECT_EQ(OptionLabel("", 0), "");
}

}  // namespace
