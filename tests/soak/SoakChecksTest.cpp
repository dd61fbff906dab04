// The checks of the soak catch what they are there for: a table changed behind the unit's
// back, and tables that no longer hold the unit's values.
#include <gtest/gtest.h>

#include "sim/models/ModelCatalog.h"
#include "sim/unit/SimUnit.h"
#include "soak/SoakChecks.h"

namespace {

// The panel's tables as a complete read of `unit` leaves them.
void ReadEverything(const SimUnit& unit) {
    for (int number = 0; number <= kLastKnobParameter; ++number) {
        g_paramTable[number].value = static_cast<int16_t>(unit.Value(number));
        g_paramTable[number].referenceValue = static_cast<int16_t>(unit.Reference(number));
    }
    for (int number = kFirstFunctionNumber; number < 256; ++number) {
        g_functionTable[number - kFirstFunctionNumber].value =
            static_cast<uint8_t>(unit.Value(number));
        g_functionTable[number - kFirstFunctionNumber].referenceValue =
            static_cast<uint8_t>(unit.Reference(number));
    }
}

class SoakChecksTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetProgramState(); }
    void TearDown() override { ResetProgramState(); }
};

TEST_F(SoakChecksTest, EveryChangedTableIsNamedWithItsEntry) {
    g_menuTable[7].title = "Matte";
    g_paramTable[5].value = 120;
    const TableSnapshot before = TakeTableSnapshot();
    EXPECT_EQ(FirstDifference(before, TakeTableSnapshot()), "");

    g_paramTable[5].value = 0;  // what a cut-short value answer would store
    EXPECT_EQ(FirstDifference(before, TakeTableSnapshot()), "parameter value 5 120 -> 0");
    g_paramTable[5].value = 120;

    g_functionTable[3].referenceValue = 9;
    EXPECT_EQ(FirstDifference(before, TakeTableSnapshot()), "function reference 131 0 -> 9");
    g_functionTable[3].referenceValue = 0;

    g_menuTable[7].entry[19] = 4;
    EXPECT_EQ(FirstDifference(before, TakeTableSnapshot()), "menu 7 \"Matte\" -> \"Matte\"");
    g_menuTable[7].entry[19] = 0;
    g_menuTable[7].title = "Mat";
    EXPECT_EQ(FirstDifference(before, TakeTableSnapshot()), "menu 7 \"Matte\" -> \"Mat\"");
}

TEST_F(SoakChecksTest, TablesMatchTheUnitOnlyWhileEveryValueAndReferenceDoes) {
    const ModelDefinition* model = FindModel(11);
    ASSERT_NE(model, nullptr);
    SimUnit unit(1, *model);
    EXPECT_NE(FirstMismatchWithUnit(unit), "") << "fresh tables hold nothing of the unit";
    ReadEverything(unit);
    EXPECT_EQ(FirstMismatchWithUnit(unit), "");

    // A change the panel has not read yet is found, in the function it touched.
    int function = kFirstFunctionNumber;
    while (function < 256 && !unit.IsDefined(function)) {
        ++function;
    }
    ASSERT_LT(function, 256);
    const int before = unit.Value(function);
    unit.ChangeLocally(function, before == 0 ? 1 : 0);
    ASSERT_NE(unit.Value(function), before);
    EXPECT_EQ(FirstMismatchWithUnit(unit).rfind("function value " + std::to_string(function), 0),
              0u);
    unit.SetReference(0, unit.Reference(0) + 1);
    EXPECT_EQ(FirstMismatchWithUnit(unit).rfind("parameter reference 0", 0), 0u);
}

TEST(ResidentSetTest, GrowsWhenThisProcessTouchesMoreMemory) {
    const size_t before = ResidentBytes();
    ASSERT_GT(before, 0u);
    std::vector<char> block(32u << 20, 1);
    EXPECT_GE(ResidentBytes(), before + (16u << 20));
    EXPECT_EQ(block[12345], 1);
}

}  // namespace
