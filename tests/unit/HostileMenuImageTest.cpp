#include <gtest/gtest.h>

#include <random>

#include "tests/unit/MenuImageTestSupport.h"

namespace {

// Malformed images: the parser must end, stay inside the block and store nothing half-read.
using HostileMenuImageTest = MenuImageTest;

void ExpectKeyframeFunctionsIntact() {
    EXPECT_EQ(g_functionTable[128].label, "Insert\r\nKeyframe");
    EXPECT_EQ(g_functionTable[131].label, "Velocity\r\nBreak");
}

TEST_F(HostileMenuImageTest, CountsLargerThanTheData) {
    ImageBytes image;
    image.Word(0xFFFF);
    EXPECT_EQ(Parse(image), MenuImageWalk::Truncated);
    ExpectKeyframeFunctionsIntact();
}

TEST_F(HostileMenuImageTest, ANameWithoutItsNulIsNotStored) {
    ImageBytes image;
    image.Word(1).Open();
    image.Word(5).Zeros(16).Word(1).Word(0).Word(0).Word(0);
    image.Close(5);
    Load(image.Bytes());
    auto& block = g_panelModel.MenuImage(1);
    std::fill(block.begin() + static_cast<std::ptrdiff_t>(image.Size()), block.end(), 'N');
    EXPECT_EQ(ParseMenuImage(1), MenuImageWalk::Truncated);
    EXPECT_EQ(g_paramTable[5].number, 0);
    EXPECT_EQ(g_paramTable[5].name, "");
}

TEST_F(HostileMenuImageTest, ARecordReachingPastTheBlockEndsTheWalk) {
    ImageBytes image;
    image.Word(2);
    AddParameter(image, {.number = 1, .name = "Whole"});
    image.Word(0xFFFF);  // the second record claims 128 KB
    Load(image.Bytes());
    EXPECT_EQ(ParseMenuImage(1), MenuImageWalk::Truncated);
    EXPECT_EQ(g_paramTable[1].name, "Whole");
}

// Two records: a skipped one (number 300) whose length carries the walk to 40 bytes before
// the end, then parameter 4 with one option of `optionBytes` bytes (ORed length bytes).
std::vector<uint8_t> OptionNearTheEnd(uint8_t lengthHigh, uint8_t lengthLow) {
    const size_t second = kMenuImageSize - 40;
    ImageBytes image;
    image.Word(2).Open().Word(300);
    image.Close(static_cast<int>((second - 6) / 2));
    std::vector<uint8_t> bytes = image.Bytes();
    bytes.resize(second, 0);
    ImageBytes record;
    record.Open().Word(4).Zeros(16).Word(0).Word(0).Word(0).Word(1);
    record.Word(0x5A5A).Byte(lengthHigh).Byte(lengthLow).Word(0).Chars("Op");
    record.Close();
    bytes.insert(bytes.end(), record.Bytes().begin() + 4, record.Bytes().end());
    return bytes;
}

TEST_F(HostileMenuImageTest, AnOptionRunningOffTheEndIsNotStored) {
    Load(OptionNearTheEnd(0x00, 0x01));
    ParseMenuImage(1);
    EXPECT_EQ(g_paramTable[4].options[2].first, "Op");  // it fits

    Load(OptionNearTheEnd(0xFF, 0x00));  // 255 words cannot fit
    EXPECT_EQ(ParseMenuImage(1), MenuImageWalk::Truncated);
    EXPECT_EQ(g_paramTable[4].number, 0);
}

TEST_F(HostileMenuImageTest, FunctionAndMenuTextsPastTheEnd) {
    ImageBytes function;
    function.Word(0).Word(2).Open();
    function.Word(140).Zeros(12).Word(0).Word(1);
    function.Word(0x5A5A).Word(0xFFFF).Word(0);
    function.Close();
    EXPECT_EQ(Parse(function), MenuImageWalk::Truncated);
    EXPECT_EQ(g_functionTable[12].number, 0);

    ImageBytes menu;
    menu.Word(0).Word(0).Word(1).Open();
    menu.Word(3).Zeros(4 + 16 + 8 + 40).Word(0x8000).Word(0x8000).Word(0);
    menu.Close();
    EXPECT_EQ(Parse(menu), MenuImageWalk::Truncated);
    EXPECT_EQ(g_menuTable[3].number, 0);
}

TEST_F(HostileMenuImageTest, HugeOptionCountsEndAtTheBlock) {
    ImageBytes image;
    image.Word(1).Open();
    image.Word(4).Zeros(16).Word(0).Word(0).Word(0).Word(0xFFFF);
    image.Close();
    EXPECT_EQ(Parse(image), MenuImageWalk::Truncated);
    EXPECT_EQ(g_paramTable[4].number, 0);
}

TEST_F(HostileMenuImageTest, ZeroLengthsInSkippedSectionsAndMessages) {
    ImageBytes image;
    image.Word(0).Word(0).Word(0);
    image.Word(0x00FF);
    for (int i = 0; i < 3; ++i) {
        image.Word(0x0100);  // low byte 0: the walk stays on this record
    }
    image.Zeros(8);
    Load(image.Bytes());
    // 255 records of length 0 in section 1, then four empty sections and no messages.
    EXPECT_EQ(ParseMenuImage(1), MenuImageWalk::Complete);
}

TEST_F(HostileMenuImageTest, AMessageWithLengthZeroIsReadAgainAndAgainButEnds) {
    ImageBytes image;
    image.Word(0).Word(0).Word(0);
    AddEmptySections(image);
    image.Word(0x00FF);
    const size_t message = image.Size();
    AddMessage(image, 3, 0, "Cap", "Loop");
    std::vector<uint8_t> bytes = image.Bytes();
    bytes[message] = 0x00;
    bytes[message + 1] = 0x00;
    Load(bytes);
    EXPECT_EQ(ParseMenuImage(1), MenuImageWalk::Complete);
    EXPECT_EQ(g_messageTable[3].text, "Loop");
}

TEST_F(HostileMenuImageTest, ABlockOfOnesEnds) {
    g_panelModel.MenuImage(1).fill(0xFF);
    EXPECT_EQ(ParseMenuImage(1), MenuImageWalk::Truncated);
    ExpectKeyframeFunctionsIntact();
}

TEST_F(HostileMenuImageTest, AnImageThatFillsTheBlockExactly) {
    ImageBytes image;
    image.Word(0).Word(0).Word(0);
    AddEmptySections(image);
    image.Word(1);
    const size_t room = kMenuImageSize - image.Size();
    // One message whose text runs to the last byte of the block.
    const uint16_t textWords = static_cast<uint16_t>((room - 2 - 10 - 6 - 12 - 2) / 2);
    image.Word(0x00FF).Word(42).Word(0).Word(0).Word(0).Word(0).Zeros(6).Zeros(12);
    image.Word(textWords).Chars(std::string(textWords * 2, 'T'));
    ASSERT_EQ(image.Size(), static_cast<size_t>(kMenuImageSize));
    EXPECT_EQ(Parse(image), MenuImageWalk::Complete);
    EXPECT_EQ(g_messageTable[42].text.size(), static_cast<size_t>(textWords) * 2);
}

TEST_F(HostileMenuImageTest, RandomImagesAllEnd) {
    unitAnswers = false;  // the finishing exchanges are not what this test is about
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> small(0, 12);
    auto& block = g_panelModel.MenuImage(1);
    for (int round = 0; round < 40; ++round) {
        for (auto& b : block) {
            b = static_cast<uint8_t>(byte(random));
        }
        // Plausible small counts, so the walk gets past the first section sometimes.
        block[4] = 0;
        block[5] = static_cast<uint8_t>(small(random));
        ParseMenuImage(1);
        ExpectKeyframeFunctionsIntact();
    }
}

}  // namespace
