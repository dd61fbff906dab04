// The model catalogue: which codes exist and what sets them apart. Every model's image as the
// panel reads it is checked in tests/integration/SimImageReadTest.cpp.
#include <gtest/gtest.h>

#include "sim/models/ModelCatalog.h"

namespace {

TEST(ModelCatalogTest, ExtendedMenusOnlyWhereTheModelHasThem) {
    EXPECT_NE(FindMenu(*FindModel(4), 40), nullptr);
    EXPECT_NE(FindMenu(*FindModel(80), 40), nullptr);
    EXPECT_EQ(FindMenu(*FindModel(5), 40), nullptr);
    EXPECT_EQ(FindMenu(*FindModel(11), 40), nullptr);
    EXPECT_EQ(FindModel(6), nullptr);
    EXPECT_EQ(KnownModelCodes(), (std::vector<uint8_t>{4, 5, 7, 9, 11, 80, 81, 177}));
    EXPECT_TRUE(FindModel(4)->lockoutFunctionsFirst);
    EXPECT_FALSE(FindModel(5)->lockoutFunctionsFirst);
}

}  // namespace
