#include <gtest/gtest.h>

#include "console/MenuFace.h"
#include "model/OptionLabels.h"
#include "tests/support/ModelRecords.h"

// The face the menus put on the panel, from the tables alone.

namespace {

class MenuFaceTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetProgramState(); }
    void TearDown() override { ResetProgramState(); }
};

TEST_F(MenuFaceTest, AMenuNamesTheButtonsItUsesAndTheOthersKeepWhatTheyShowed) {
    g_menuTable[1].title = "KEYER";
    g_menuTable[1].entry[3] = 2;
    g_menuTable[2].shortName = "WIPE";
    MenuFace face;
    PutMenuLabels(face, 1, 4);  // the compact family
    EXPECT_EQ(face.title, "KEYER");
    EXPECT_EQ(face.menuButtons[0].label, "Return");
    EXPECT_EQ(face.menuButtons[3].label, "WIPE");
    EXPECT_EQ(face.menuButtons[8].label, "Custom") << "the compact family's fixed buttons";

    face.menuButtons[8].lit = true;  // pressed: lit while its menu's values are read
    PutMenuLabels(face, kCustomMenuList, 4);
    EXPECT_EQ(face.title, "Custom Menu");
    EXPECT_EQ(face.menuButtons[1].label, "By Pass");
    EXPECT_EQ(face.menuButtons[5].label, "Custom 3");
    EXPECT_EQ(face.menuButtons[6].label, "Effects") << "three custom menus on the compact family";
    EXPECT_EQ(face.menuButtons[8], (ButtonState{"Custom", true})) << "not the list's button";

    PutMenuLabels(face, -1, 4);
    EXPECT_EQ(face.title, "Custom Menu") << "no menu on show changes nothing";
}

TEST_F(MenuFaceTest, FunctionButtonsShowTheirOptionAndLightWhenOn) {
    g_unitStatus[kStatusByteModel] = 11;
    g_menuTable[0].entry[10] = kFirstFunctionNumber + 5;
    g_menuTable[0].entry[11] = kFirstFunctionNumber + 6;
    g_functionTable[5] = MakeFunction(kFirstFunctionNumber + 5, 1, "KEY OFF,KEY ON");
    g_functionTable[6] = MakeFunction(kFirstFunctionNumber + 6, 0, "CLIP");
    MenuFace face;
    PutFunctionLabels(face, 1, 0, 11);
    EXPECT_EQ(face.functionButtons[0], (ButtonState{OptionLabel("KEY OFF,KEY ON", 1), true}));
    EXPECT_EQ(face.functionButtons[1], (ButtonState{"CLIP", false}));
    EXPECT_EQ(face.functionButtons[2], (ButtonState{" ", false})) << "an empty entry is blank";
}

}  // namespace
