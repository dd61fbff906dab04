// Setting a parameter in the units its display shows: the inverse of the gauge's formula,
// checked against the formula itself across whole ranges.
#include <gtest/gtest.h>

#include "remote/ShownValue.h"

namespace {

ParamRecord Range(int rawMin, int rawMax, int dispMin, int dispMax, int flags = 0) {
    ParamRecord param;
    param.name = "Gain";
    param.rawMin = static_cast<int16_t>(rawMin);
    param.rawMax = static_cast<int16_t>(rawMax);
    param.dispMin = static_cast<int16_t>(dispMin);
    param.dispMax = static_cast<int16_t>(dispMax);
    param.flags = flags;
    return param;
}

std::string TextAt(ParamRecord param, int raw) {
    param.value = static_cast<int16_t>(raw);
    return ShownValueText(param);
}

TEST(ShownValueTest, EveryShownTextLeadsBackToARawValueShowingIt) {
    const ParamRecord ranges[] = {
        Range(0, 1023, 0, 100),                    // percent, ten raw steps to a shown one
        Range(0, 200, -100, 100),                  // around zero
        Range(0, 255, 0, 360, kFlagDisplayPlain),  // more shown steps than raw ones
        Range(10, 20, 0, 100),                     // a range that does not start at zero
        Range(0, 4000, -50, 50, kFlagDisplayCentred),
        Range(0, 9, 0, 0, kFlagStepped),
        Range(100, 50, 0, 100),                            // a range that runs backwards
        Range(-100, 100, -100, 100, kFlagDisplayCentred),  // signed words, as Position H
    };
    for (const ParamRecord& param : ranges) {
        const int low = std::min(param.rawMin, param.rawMax);
        const int high = std::max(param.rawMin, param.rawMax);
        for (int raw = low; raw <= high; ++raw) {
            const std::string shown = TextAt(param, raw);
            const RawForShownResult back = RawForShown(param, shown);
            ASSERT_TRUE(back.raw.has_value()) << shown << ": " << back.error;
            EXPECT_EQ(TextAt(param, *back.raw), shown) << "raw " << raw;
            EXPECT_GE(*back.raw, low);
            EXPECT_LE(*back.raw, high);
        }
    }
    // Of the ten raw values that show 50%, the middle of the range.
    EXPECT_EQ(RawForShown(Range(0, 1023, 0, 100), "50%").raw, 512);
    EXPECT_EQ(RawForShown(Range(0, 1023, 0, 100), "50").raw, 512);
    EXPECT_EQ(RawForShown(Range(0, 200, -100, 100), "0").raw, 100);
}

TEST(ShownValueTest, TextsNoRawValueShowsAreRefusedWithTheNearest) {
    EXPECT_EQ(RawForShown(Range(0, 1023, 0, 100), "101").error, "Gain shows 0% to 100%.");
    EXPECT_EQ(RawForShown(Range(0, 200, -100, 100), "-101").error, "Gain shows -100% to 100%.");
    const RawForShownResult between = RawForShown(Range(0, 10, 0, 100), "55");
    EXPECT_FALSE(between.raw);
    EXPECT_EQ(between.error, "Gain shows no 55: the nearest are 50% and 60%.");
    EXPECT_FALSE(RawForShown(Range(0, 1023, 0, 100), "half").raw);
    EXPECT_FALSE(RawForShown(Range(0, 1023, 0, 100), "").raw);

    // A time code is set as the display shows it.
    const ParamRecord timecode = Range(0, 30000, 0, 0, kFlagTimecode);
    EXPECT_EQ(RawForShown(timecode, "00:01:02:03").raw, (62 * 30) + 3);
    EXPECT_FALSE(RawForShown(timecode, "00:01:02:45").raw);
    EXPECT_FALSE(RawForShown(timecode, "1:2:3:4").raw);
    EXPECT_FALSE(RawForShown(timecode, "01:00:00:00").raw);  // beyond the range
}

}  // namespace
