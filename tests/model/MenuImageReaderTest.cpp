#include <gtest/gtest.h>

#include <array>

#include "model/MenuImageReader.h"

namespace {

const std::array<uint8_t, 8> kBytes{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0};

TEST(MenuImageReader, WordsAndLongsAreBigEndian) {
    MenuImageReader reader(kBytes);
    EXPECT_EQ(reader.Word(), 0x1234);
    EXPECT_EQ(reader.Long(), 0x56789ABCu);
    EXPECT_EQ(reader.Byte(), 0xDE);
    EXPECT_EQ(reader.Position(), 7u);
    EXPECT_FALSE(reader.Overrun());
}

TEST(MenuImageReader, ReadingPastTheEndGivesZerosAndStaysOverrun) {
    MenuImageReader reader(kBytes);
    reader.Seek(7);
    EXPECT_EQ(reader.Word(), 0);
    EXPECT_TRUE(reader.Overrun());
    EXPECT_EQ(reader.Position(), kBytes.size());
    reader.Seek(0);  // an overrun reader never reads again
    EXPECT_EQ(reader.Byte(), 0);
    EXPECT_TRUE(reader.Overrun());
}

TEST(MenuImageReader, SeekingToTheEndIsFineBeyondItIsNot) {
    MenuImageReader reader(kBytes);
    reader.Seek(8);
    EXPECT_FALSE(reader.Overrun());
    reader.Skip(1);
    EXPECT_TRUE(reader.Overrun());
}

TEST(MenuImageReader, FixedTextsDropTheirNulBytes) {
    const std::array<uint8_t, 6> bytes{'A', 0, 'B', 'C', 0, 0};
    MenuImageReader reader(bytes);
    EXPECT_EQ(reader.FixedText(6), "ABC");
    EXPECT_EQ(reader.Position(), 6u);
    MenuImageReader tooLong(bytes);
    EXPECT_EQ(tooLong.FixedText(7), "");
    EXPECT_TRUE(tooLong.Overrun());
}

TEST(MenuImageReader, NulTextsStopAfterTheirNulAndOverrunWithoutOne) {
    const std::array<uint8_t, 7> bytes{'H', 'i', 0, 0, 0, 'X', 'Y'};
    MenuImageReader reader(bytes);
    EXPECT_EQ(reader.NulText(), "Hi");
    EXPECT_EQ(reader.Position(), 3u);
    reader.SkipPadding(bytes.size());
    EXPECT_EQ(reader.Position(), 5u);
    EXPECT_EQ(reader.NulText(), "");  // "XY" has no NUL before the end
    EXPECT_TRUE(reader.Overrun());
}

TEST(MenuImageReader, PaddingStopsAtItsLimitAndAtTheBlockEnd) {
    const std::array<uint8_t, 6> bytes{0, 0, 0, 0, 0, 0};
    MenuImageReader reader(bytes);
    reader.SkipPadding(3);
    EXPECT_EQ(reader.Position(), 3u);
    reader.SkipPadding(1000);
    EXPECT_EQ(reader.Position(), 6u);
    EXPECT_FALSE(reader.Overrun());
    reader.SkipPadding(2);  // a limit behind the position moves nothing
    EXPECT_EQ(reader.Position(), 6u);
}

TEST(MenuImageReader, TrimmingRemovesBlanksAtBothEndsOnly) {
    EXPECT_EQ(Trimmed("  a b \t"), "a b");
    EXPECT_EQ(Trimmed("Insert\r\nKeyframe\r\n"), "Insert\r\nKeyframe");
    EXPECT_EQ(Trimmed("   "), "");
    EXPECT_EQ(Trimmed(""), "");
}

}  // namespace
