#include <gtest/gtest.h>

#include "model/MenuImageRecords.h"
#include "model/PanelModel.h"
#include "tests/support/ImageBytes.h"

namespace {

class MenuImageRecordsTest : public ::testing::Test {
  protected:
    void SetUp() override { ClearUnitTables(); }
    void TearDown() override { ClearUnitTables(); }
};

// The fixed words of a parameter record after its length word: number, kind, flags, extra,
// raw and display ranges 0..100, name present, one uninterpreted word, no second text.
void ParameterFixedPart(ImageBytes& image, uint16_t number, uint16_t optionCount) {
    image.Word(number).Word(0x0102).Word(0).Word(0).Word(0);
    image.Word(0).Word(100).Word(0).Word(100).Word(1).Word(0).Word(0).Word(optionCount);
}

TEST_F(MenuImageRecordsTest, PaddingRunsToTheNextFieldEvenPastAShortDeclaredEnd) {
    // Parameter 5 and function 130 declare only their fixed part; the name, its padding and
    // the option lie behind the declared end. Parameter 6 ends with its name, and the word
    // after it (the function count) starts with a zero byte that is no padding.
    ImageBytes image;
    image.Word(2).Open();
    ParameterFixedPart(image, 5, 1);
    image.Chars("Gain").Zeros(2);
    image.Word(0x5A5A).Word(1).Word(1).Chars("HiLo");
    image.Close(14);
    image.Open();
    ParameterFixedPart(image, 6, 0);
    image.Chars("Next").Byte(0);
    image.Close();

    image.Word(2).Open();
    image.Word(130).Word(3).Word(0).Word(0).Word(0).Word(0).Word(1).Word(1).Word(1);
    image.Chars("Fn").Zeros(4);  // the NUL and three bytes of padding
    image.Word(0x5A5A).Word(1).Word(0).Chars("On");
    image.Close(10);
    image.Open().Word(131).Close();
    image.Zeros(2 * 7);  // no menus, five empty sections, no messages

    ASSERT_EQ(WalkMenuImage(image.Bytes(), 20), MenuImageWalk::Complete);
    EXPECT_EQ(g_paramTable[5].name, "Gain");
    EXPECT_EQ(g_paramTable[5].options[2], (std::pair<std::string, std::string>{"Hi", "Lo"}));
    EXPECT_EQ(g_paramTable[6].name, "Next");
    EXPECT_EQ(g_functionTable[2].label, "On");
}

}  // namespace
