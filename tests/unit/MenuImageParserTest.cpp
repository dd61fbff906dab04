#include <gtest/gtest.h>

#include "tests/unit/MenuImageTestSupport.h"

namespace {

using MenuImageParserTest = MenuImageTest;

// NP = 0, one function record and its never-parsed follower, no menus, no messages.
ImageBytes OnlyFunctions(const FunctionLayout& function) {
    ImageBytes image;
    image.Word(0).Word(2);
    AddFunction(image, function);
    AddFunction(image, FunctionLayout{.number = 200, .options = {"Never"}});
    EndAfterFunctions(image);
    return image;
}

// One parameter record, then empty sections.
ImageBytes OnlyParameter(const ParamLayout& parameter) {
    ImageBytes image;
    image.Word(1);
    AddParameter(image, parameter);
    EndAfterParameters(image);
    return image;
}

TEST_F(MenuImageParserTest, ParameterFieldsNameAndOptions) {
    const ParamLayout layout{.number = 12,
                             .flags = 0x8010,
                             .rawMin = -500,
                             .rawMax = 500,
                             .dispMin = -50,
                             .dispMax = 50,
                             .name = "  Clip Level  ",
                             .secondText = "unused",
                             .options = {{" Off ", "0"}, {"On", " 1 "}}};
    EXPECT_EQ(Parse(OnlyParameter(layout)), MenuImageWalk::Complete);
    const ParamRecord& p = g_paramTable[12];
    EXPECT_EQ(p.number, 12);
    EXPECT_EQ(p.kind, 0x0102);
    EXPECT_EQ(p.flags, 0x8010);
    EXPECT_EQ(p.extra, 0x0A0B0C0D);
    EXPECT_EQ(p.rawMin, -500);
    EXPECT_EQ(p.rawMax, 500);
    EXPECT_EQ(p.dispMin, -50);
    EXPECT_EQ(p.dispMax, 50);
    EXPECT_EQ(p.name, "Clip Level");
    // Two options take slots 1 and 2.
    EXPECT_EQ(p.options[0], (std::pair<std::string, std::string>{}));
    EXPECT_EQ(p.options[1], (std::pair<std::string, std::string>{"Off", "0"}));
    EXPECT_EQ(p.options[2], (std::pair<std::string, std::string>{"On", "1"}));
}

TEST_F(MenuImageParserTest, TheHashSuffixIsCutAfterTheFirstCharacterOnly) {
    ImageBytes image;
    image.Word(3);
    AddParameter(image, {.number = 1, .name = "Gain#fine"});
    AddParameter(image, {.number = 2, .flags = 0x1000, .name = "#Hash"});
    AddParameter(image, {.number = 3, .flags = 0x1008, .name = "Plain"});
    EndAfterParameters(image);
    EXPECT_EQ(Parse(image), MenuImageWalk::Complete);
    EXPECT_EQ(g_paramTable[1].name, "Gain");
    EXPECT_EQ(g_paramTable[1].flags, 0x1000);
    EXPECT_EQ(g_paramTable[2].name, "#Hash");
    EXPECT_EQ(g_paramTable[2].flags, 0);
    EXPECT_EQ(g_paramTable[3].flags, 0x0008);
}

TEST_F(MenuImageParserTest, OneOptionLandsInTheLastSlotAndThreeFillAll) {
    ImageBytes image;
    image.Word(2);
    AddParameter(image, {.number = 4, .name = "Mode", .options = {{"Only", "x"}}});
    AddParameter(image,
                 {.number = 5, .name = "Three", .options = {{"a", "A"}, {"b", "B"}, {"c", "C"}}});
    EndAfterParameters(image);
    EXPECT_EQ(Parse(image), MenuImageWalk::Complete);
    EXPECT_EQ(g_paramTable[4].options[2].first, "Only");
    EXPECT_EQ(g_paramTable[4].options[0].first, "");
    EXPECT_EQ(g_paramTable[5].options[0].second, "A");
    EXPECT_EQ(g_paramTable[5].options[2].second, "C");
}

TEST_F(MenuImageParserTest, MoreThanThreeOptionsAreReadButOnlyThreeKept) {
    ImageBytes image;
    image.Word(2);
    AddParameter(
        image,
        {.number = 6, .name = "Four", .options = {{"a", ""}, {"b", ""}, {"c", ""}, {"d", ""}}});
    AddParameter(image, {.number = 7, .name = "After"});
    EndAfterParameters(image);
    EXPECT_EQ(Parse(image), MenuImageWalk::Complete);
    // Option k of N goes to slot 3 - N + k: the first of four has no slot.
    EXPECT_EQ(g_paramTable[6].options[0].first, "b");
    EXPECT_EQ(g_paramTable[6].options[2].first, "d");
    EXPECT_EQ(g_paramTable[7].name, "After");
}

TEST_F(MenuImageParserTest, OptionLengthsAreTheirTwoBytesOred) {
    // Length bytes 01 02 give 3 words (6 bytes), not 258.
    ImageBytes image;
    image.Word(2).Open();
    image.Word(8).Word(0).Word(0).Word(0).Word(0).Word(0).Word(0).Word(0).Word(0);
    image.Word(1).Word(0).Word(0).Word(1);
    PaddedName(image, "Or");
    image.Word(0x5A5A).Byte(0x01).Byte(0x02).Word(0).Chars("abcdef");
    image.Close();
    AddParameter(image, {.number = 9, .name = "Next"});
    EndAfterParameters(image);
    EXPECT_EQ(Parse(image), MenuImageWalk::Complete);
    EXPECT_EQ(g_paramTable[8].options[2].first, "abcdef");
    EXPECT_EQ(g_paramTable[9].name, "Next");
}

TEST_F(MenuImageParserTest, NoParametersStartsTheFunctionsAtOffsetSix) {
    ASSERT_EQ(Parse(OnlyFunctions({.number = 130, .options = {"Bg"}})), MenuImageWalk::Complete);
    EXPECT_EQ(g_functionTable[2].number, 130);
    EXPECT_EQ(g_functionTable[2].label, "Bg");
}

TEST_F(MenuImageParserTest, AShortLengthContinuesAfterTheBodyALongOneSkipsTheRest) {
    ImageBytes image;
    image.Word(3);
    AddParameter(image, {.number = 30, .name = "Short"});
    // Shrink the first record's length word to 2 words: the next record follows its body.
    std::vector<uint8_t> bytes = image.Bytes();
    bytes[6] = 0;
    bytes[7] = 2;
    ImageBytes rest;
    AddParameter(rest, {.number = 31, .name = "Long"});
    // Declare 10 spare words behind the second record's body.
    std::vector<uint8_t> second(rest.Bytes().begin() + 4, rest.Bytes().end());
    const uint16_t longWords = static_cast<uint16_t>(second.size() / 2 + 10);
    second[0] = static_cast<uint8_t>(longWords >> 8);
    second[1] = static_cast<uint8_t>(longWords & 0xFF);
    second.insert(second.end(), 20, 0xCC);
    bytes.insert(bytes.end(), second.begin(), second.end());
    ImageBytes tail;
    AddParameter(tail, {.number = 32, .name = "Third"});
    bytes.insert(bytes.end(), tail.Bytes().begin() + 4, tail.Bytes().end());
    for (uint8_t b : {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}) {
        bytes.push_back(b);
    }
    Load(bytes);
    EXPECT_EQ(ParseMenuImage(1), MenuImageWalk::Complete);
    EXPECT_EQ(g_paramTable[30].name, "Short");
    EXPECT_EQ(g_paramTable[31].name, "Long");
    EXPECT_EQ(g_paramTable[32].name, "Third");
}

TEST_F(MenuImageParserTest, FunctionLabelsJoinTheirOptions) {
    ImageBytes image;
    image.Word(0).Word(5);
    AddFunction(image, {.number = 129, .flags = 0x0001, .options = {" Wipe#x ", "Mix", " Cut "}});
    AddFunction(image, {.number = 131, .flags = 0x1000, .name = "Ignored", .options = {"Single"}});
    AddFunction(image, {.number = 132, .flags = 0x1000});
    AddFunction(image, {.number = 133, .options = {"A", "B"}, .extraText = "dropped"});
    AddFunction(image, {.number = 140, .options = {"Last"}});
    EndAfterFunctions(image);
    EXPECT_EQ(Parse(image), MenuImageWalk::Complete);
    const FunctionRecord& wipe = g_functionTable[1];
    EXPECT_EQ(wipe.label, "Wipe,Mix,Cut");
    EXPECT_EQ(wipe.flags, 0x1001);
    EXPECT_EQ(wipe.optionCount, 3);
    EXPECT_EQ(wipe.kind, 3);
    EXPECT_EQ(wipe.extra, 0x11112222);
    EXPECT_EQ(wipe.maxValue, 1);
    EXPECT_EQ(g_functionTable[3].label, "Single");
    EXPECT_EQ(g_functionTable[3].flags, 0);
    EXPECT_EQ(g_functionTable[4].label, " ");
    EXPECT_EQ(g_functionTable[4].optionCount, 0);
    EXPECT_EQ(g_functionTable[5].label, "A,B");
    // The last function record is never parsed.
    EXPECT_EQ(g_functionTable[12].number, 0);
    EXPECT_EQ(g_functionTable[12].label, "");
}

TEST_F(MenuImageParserTest, FunctionOptionWithoutTextStillCounts) {
    ImageBytes image;
    image.Word(0).Word(2).Open();
    image.Word(150).Word(0).Word(0).Word(0).Word(0).Word(0).Word(2).Word(0).Word(2);
    image.Word(0x5A5A).Word(0).Word(0);
    image.Word(0x5A5A).Word(1).Word(0).Chars("On");
    image.Close();
    AddFunction(image, {.number = 151});
    EndAfterFunctions(image);
    EXPECT_EQ(Parse(image), MenuImageWalk::Complete);
    EXPECT_EQ(g_functionTable[22].label, ",On");
}

TEST_F(MenuImageParserTest, MenusOfBothFamilies) {
    for (uint8_t code : {uint8_t{11}, uint8_t{4}}) {
        SetModel(code);
        const size_t entryCount = IsCompactModel(code) ? 12 : 20;
        std::vector<uint16_t> entries(entryCount);
        for (size_t i = 0; i < entryCount; ++i) {
            entries[i] = static_cast<uint16_t>(100 + i);
        }
        ImageBytes image;
        image.Word(0).Word(0).Word(2);
        AddMenu(image, {.number = 7,
                        .flags = 0x0400,
                        .knobs = {1, 2, 3, 4, 5, 6, 7, 0xFFFF},
                        .entries = entries,
                        .title = std::string(" Key\0er ", 8),
                        .shortName = "KEY",
                        .trailingWords = 3});
        AddMenu(image, {.number = 64, .entries = entries, .title = "Frames"});
        EndAfterMenus(image);
        ASSERT_EQ(Parse(image), MenuImageWalk::Complete) << int{code};
        const MenuRecord& menu = g_menuTable[7];
        EXPECT_EQ(menu.number, 7);
        EXPECT_EQ(menu.kind, 9);
        EXPECT_EQ(menu.flags, 0x0400);
        EXPECT_EQ(menu.knobParam[0], 1);
        EXPECT_EQ(menu.knobParam[7], -1);
        EXPECT_EQ(menu.entry[entryCount - 1], static_cast<int16_t>(100 + entryCount - 1));
        if (entryCount < 20) {
            EXPECT_EQ(menu.entry[entryCount], 0);
        }
        EXPECT_EQ(menu.title, "Keyer");
        EXPECT_EQ(menu.shortName, "KEY");
        EXPECT_EQ(g_menuTable[64].title, "Frames");
    }
}

TEST_F(MenuImageParserTest, SectionsAreSkippedAndMessagesFoundByTheLowByteOfTheirLength) {
    ImageBytes image;
    image.Word(0).Word(0).Word(0);
    // Section 1: two records of 3 and 2 words; the high bytes of their lengths do not count.
    image.Word(0xAB02).Word(0x7703).Word(0xFFFF).Word(0xFFFF).Word(0x1102).Word(0xFFFF);
    image.Word(0).Word(0);
    // Section 4: count 0x0100 has low byte 0: no records.
    image.Word(0x0100);
    image.Word(0xFF01).Word(0x0001);
    image.Word(0x0302);  // two messages
    AddMessage(image, 17, 0x4000, " Question ", " Really? ");
    // A message whose length word has a high byte: only the low byte places the next one.
    const size_t second = image.Size();
    AddMessage(image, 199, 0, "", "Done");
    std::vector<uint8_t> bytes = image.Bytes();
    bytes[second] = 0x05;
    Load(bytes);
    EXPECT_EQ(ParseMenuImage(1), MenuImageWalk::Complete);
    EXPECT_EQ(g_messageTable[17].number, 17);
    EXPECT_EQ(g_messageTable[17].flags, 0x4000);
    EXPECT_EQ(g_messageTable[17].caption, "Question");
    EXPECT_EQ(g_messageTable[17].text, "Really?");
    EXPECT_EQ(g_messageTable[199].caption, "");
    EXPECT_EQ(g_messageTable[199].text, "Done");
}

TEST_F(MenuImageParserTest, NumbersOutsideTheTablesAreSkippedByTheirLength) {
    ImageBytes image;
    image.Word(2);
    AddParameter(image, {.number = 128, .name = "Outside"});
    AddParameter(image, {.number = 0, .name = "Zero"});
    image.Word(4);
    AddFunction(image, {.number = 127, .options = {"Low"}});
    AddFunction(image, {.number = 256, .options = {"High"}});
    AddFunction(image, {.number = 255, .options = {"Top"}});
    AddFunction(image, {.number = 255, .options = {"Never"}});
    image.Word(2);
    AddMenu(image, {.number = 65, .entries = std::vector<uint16_t>(20, 1), .title = "Out"});
    AddMenu(image, {.number = 63, .entries = std::vector<uint16_t>(20, 2), .title = "In"});
    AddEmptySections(image);
    image.Word(2);
    AddMessage(image, 200, 0, "Out", "Out");
    AddMessage(image, 0, 0, "In", "Zero");
    EXPECT_EQ(Parse(image), MenuImageWalk::Complete);
    EXPECT_EQ(g_paramTable[0].name, "Zero");
    EXPECT_EQ(g_paramTable[128].name, "");
    EXPECT_EQ(g_functionTable[127].label, "Top");
    EXPECT_EQ(g_functionTable[128].label, "Insert\r\nKeyframe");
    EXPECT_EQ(g_menuTable[63].title, "In");
    EXPECT_EQ(g_menuTable[64].title, "");
    EXPECT_EQ(g_messageTable[0].text, "Zero");
}

TEST_F(MenuImageParserTest, TablesDescribeOnlyTheLastParsedUnit) {
    g_paramTable[50].name = "Stale";
    g_functionTable[50].label = "Stale";
    g_menuTable[40].number = 40;
    g_messageTable[9].text = "Stale";
    Parse(OnlyParameter({.number = 1, .name = "Fresh"}));
    EXPECT_EQ(g_paramTable[50].name, "");
    EXPECT_EQ(g_functionTable[50].label, "");
    EXPECT_EQ(g_menuTable[40].number, 0);
    EXPECT_EQ(g_messageTable[9].text, "");
}

TEST_F(MenuImageParserTest, SteppedWipeParametersOnModelsFiveSevenAndNine) {
    for (uint8_t code : {uint8_t{5}, uint8_t{7}, uint8_t{9}, uint8_t{11}, uint8_t{4}}) {
        SetModel(code);
        ImageBytes image;
        image.Word(2);
        AddParameter(image, {.number = 93,
                             .flags = 0x0010,
                             .rawMin = 0,
                             .rawMax = 4000,
                             .dispMin = 1,
                             .dispMax = 8,
                             .name = "Pattern"});
        AddParameter(image, {.number = 99, .rawMax = 4000, .dispMax = 8, .name = "Other"});
        EndAfterParameters(image);
        Parse(image);
        const bool stepped = code == 5 || code == 7 || code == 9;
        EXPECT_EQ(g_paramTable[93].flags, stepped ? 0x8010 : 0x0010) << int{code};
        EXPECT_EQ(g_paramTable[93].rawMin, stepped ? 1 : 0);
        EXPECT_EQ(g_paramTable[93].rawMax, stepped ? 8 : 4000);
        EXPECT_EQ(g_paramTable[98].flags & 0x8000, stepped ? 0x8000 : 0);
        EXPECT_EQ(g_paramTable[99].rawMax, 4000);
    }
}

TEST_F(MenuImageParserTest, ModelsSevenAndNineLoseMenuButtonsThreeAndFour) {
    for (uint8_t code : {uint8_t{7}, uint8_t{9}, uint8_t{5}}) {
        SetModel(code);
        ImageBytes image;
        image.Word(0).Word(0).Word(3);
        for (uint16_t number : {26, 28, 27}) {
            AddMenu(image, {.number = number, .entries = std::vector<uint16_t>(12, 30)});
        }
        EndAfterMenus(image);
        Parse(image);
        const int16_t expected = code == 5 ? 30 : 255;
        for (int menu : {26, 28}) {
            EXPECT_EQ(g_menuTable[menu].entry[2], 30);
            EXPECT_EQ(g_menuTable[menu].entry[3], expected) << int{code};
            EXPECT_EQ(g_menuTable[menu].entry[4], expected);
            EXPECT_EQ(g_menuTable[menu].entry[5], 30);
        }
        EXPECT_EQ(g_menuTable[27].entry[3], 30);
    }
}

ImageBytes WithMenu40() {
    ImageBytes image;
    image.Word(0).Word(0).Word(1);
    AddMenu(image, {.number = 40, .entries = std::vector<uint16_t>(12, 0)});
    EndAfterMenus(image);
    return image;
}

TEST_F(MenuImageParserTest, ExtendedMenusNeedModelFourAndMenu40) {
    SetModel(4);
    Parse(WithMenu40());
    EXPECT_TRUE(g_extendedMenus);
    Parse(OnlyParameter({.number = 1, .name = "No menus"}));
    EXPECT_FALSE(g_extendedMenus);
    SetModel(11);
    Parse(WithMenu40());
    EXPECT_FALSE(g_extendedMenus);
}

TEST_F(MenuImageParserTest, TheIdentifyAfterParsingRefreshesTheStatusOnlyWhenItAnswers) {
    SetModel(7);
    g_unitStatus[kStatusByteFlags] = 0x55;
    Parse(OnlyParameter({.number = 1, .name = "A"}));
    EXPECT_EQ(g_unitStatus[kStatusByteFlags], 0x40);
    EXPECT_EQ(g_unitStatus[kStatusByteCode], 0x40);
    const auto& requests = peer.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0], (std::vector<uint8_t>{0x12, 0x01, 0xB9, 0xBA}));
    EXPECT_EQ(requests[1], (std::vector<uint8_t>{0x12, 0x01, 0xB9, 0xBA}));
    EXPECT_EQ(requests[2], (std::vector<uint8_t>{0x12, 0x01, 0xC0, 0xC1}));

    unitAnswers = false;
    g_unitStatus[kStatusByteFlags] = 0x55;
    Parse(OnlyParameter({.number = 1, .name = "A"}));
    EXPECT_EQ(g_unitStatus[kStatusByteFlags], 0x55);
    EXPECT_EQ(g_unitStatus[kStatusByteModel], 7);
}

TEST_F(MenuImageParserTest, LockOutFlagsFollowTheUnitsTables) {
    SetModel(4);
    knobLocks[1] = 1;
    knobLocks[2] = 2;
    functionLocks[0] = 0;
    ImageBytes image;
    image.Word(2);
    AddParameter(image, {.number = 1, .name = "Locked"});
    AddParameter(image, {.number = 2, .flags = 0x2000, .name = "Free"});
    image.Word(2);
    AddFunction(image, {.number = 128, .options = {"F"}});
    AddFunction(image, {.number = 129});
    EndAfterFunctions(image);
    Parse(image);
    EXPECT_EQ(g_paramTable[1].flags, 0x2000);
    EXPECT_EQ(g_paramTable[2].flags, 0);
    EXPECT_EQ(g_functionTable[0].flags, 0x2000);
    EXPECT_EQ(g_functionTable[1].flags, 0);
    EXPECT_EQ(g_onAirLockTable[kKnobLockTable][1], 1);
}

TEST_F(MenuImageParserTest, KeyframeFunctionsAreSetAfterEveryParse) {
    Parse(OnlyParameter({.number = 1, .name = "A"}));
    const char* const labels[] = {"Insert\r\nKeyframe", "Delete\r\nKeyframe", "Run",
                                  "Velocity\r\nBreak"};
    for (int i = 0; i < 4; ++i) {
        const FunctionRecord& record = g_functionTable[128 + i];
        EXPECT_EQ(record.label, labels[i]);
        EXPECT_EQ(record.flags, 0x0001);
        EXPECT_EQ(record.optionCount, 1);
        EXPECT_EQ(record.minValue, 0);
        EXPECT_EQ(record.maxValue, 0);
    }
}

TEST_F(MenuImageParserTest, AUnitSlotOutsideTheBlocksChangesNothing) {
    g_paramTable[3].name = "Kept";
    EXPECT_EQ(ParseMenuImage(5), MenuImageWalk::Truncated);
    EXPECT_EQ(ParseMenuImage(-1), MenuImageWalk::Truncated);
    EXPECT_EQ(g_paramTable[3].name, "Kept");
    EXPECT_TRUE(peer.Requests().empty());
}

}  // namespace
