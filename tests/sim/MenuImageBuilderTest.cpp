// Menu image records checked byte by byte against hand-computed layouts.
#include <gtest/gtest.h>

#include "sim/models/MenuImageBuilder.h"

namespace {

using Bytes = std::vector<uint8_t>;

TEST(MenuImageRecordTest, ParameterRecordLayout) {
    const ParamDef param{.number = 5,
                         .name = "Ab",
                         .flags = 0x8000,
                         .rawMin = -1,
                         .rawMax = 10,
                         .dispMin = 0,
                         .dispMax = 100,
                         .options = {{"Lo", "Low"}}};
    const Bytes expected = {
        0x00, 0x17,                        // 23 words with the length word
        0x00, 0x05,                        // number
        0x00, 0x01,                        // kind
        0x80, 0x00,                        // flags
        0x4B, 0x56, 0x00, 0x05,            // extra
        0xFF, 0xFF, 0x00, 0x0A,            // raw range -1..10
        0x00, 0x00, 0x00, 0x64,            // display range 0..100
        0x00, 0x01,                        // name present
        0x00, 0x00,                        // not interpreted
        0x00, 0x00,                        // no second text
        0x00, 0x01,                        // one option
        'A',  'b',  0x00, 0x00,            // name, NUL, padding
        0x4F, 0x00,                        // option mark
        0x00, 0x01, 0x00, 0x02,            // lengths: one word, two words
        'L',  'o',  'L',  'o',  'w', ' ',  // texts, blank padded
        0x7E, 0x7E,                        // end mark
    };
    EXPECT_EQ(EncodeParameterRecord(param), expected);
}

TEST(MenuImageRecordTest, ParameterRecordWithSecondTextAndNoOptions) {
    const ParamDef param{.number = 1, .name = "Gain", .rawMax = 3, .note = "xyz"};
    const Bytes expected = {
        0x00, 0x14,  // 20 words
        0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x4B, 0x56, 0x00, 0x01, 0x00, 0x00, 0x00,
        0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01,  // second text present
        0x00, 0x00,                                                        // no options
        'G',  'a',  'i',  'n',  0x00, 0x00,  // name: NUL, then a whole word
        'x',  'y',  'z',  0x00,              // second text
        0x7E, 0x7E,
    };
    EXPECT_EQ(EncodeParameterRecord(param), expected);
}

TEST(MenuImageRecordTest, FunctionRecordLayout) {
    const FunctionDef function{.number = 0x90,
                               .name = "F",
                               .flags = 0x0001,
                               .maxValue = 2,
                               .options = {{"On#x", "help"}, {"Off"}}};
    const Bytes expected = {
        0x00, 0x19,                          // 25 words
        0x00, 0x90, 0x00, 0x02, 0x00, 0x01,  // number, kind, flags
        0x4B, 0x56, 0x00, 0x90,              // extra
        0x00, 0x00, 0x00, 0x02,              // range 0..2
        0x00, 0x01, 0x00, 0x02,              // name present, two options
        'F',  0x00,                          // name
        0x4F, 0x00, 0x00, 0x02, 0x00, 0x01,  // option 0: mark, two words, help follows
        'O',  'n',  '#',  'x',  'h',  'e',  'l', 'p', 0x00, 0x00,  // help text, NUL, padding
        0x4F, 0x01, 0x00, 0x02, 0x00, 0x00,  // option 1: mark, two words, no help
        'O',  'f',  'f',  0x00,              // NUL padded to the word
        0x7E, 0x7E,
    };
    EXPECT_EQ(EncodeFunctionRecord(function), expected);
}

TEST(MenuImageRecordTest, MenuRecordCarriesTwelveOrTwentyEntryWords) {
    MenuDef menu{.number = 7, .title = "FG", .shortName = "Fore", .flags = 0x0400};
    menu.knobs = {1, 2, 128, 128, 128, 128, 128, 128};
    menu.targets = {255, 8, 9, 255, 255, 255, 33, 255, 255, 255};
    menu.functions = {129, 255, 255, 255, 255, 255};
    const Bytes head = {0x00, 0x07, 0x00, 0x03, 0x04, 0x00, 0x00, 0x01, 0x00, 0x02,
                        0x00, 0x80, 0x00, 0x80, 0x00, 0x80, 0x00, 0x80, 0x00, 0x80,
                        0x00, 0x80, 0,    0,    0,    0,    0,    0,    0,    0};
    const Bytes compactEntries = {0x00, 0xFF, 0x00, 0x08, 0x00, 0x09, 0x00, 0xFF,
                                  0x00, 0xFF, 0x00, 0xFF, 0x00, 0x81, 0x00, 0xFF,
                                  0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF};
    const Bytes fullEntries = {0x00, 0xFF, 0x00, 0x08, 0x00, 0x09, 0x00, 0xFF, 0x00, 0xFF,
                               0x00, 0xFF, 0x00, 0x21, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF,
                               0x00, 0x81, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF,
                               0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF};
    const Bytes tail = {0x00, 0x01, 0x00, 0x02, 0x00, 0x01,  // title, short name, trailing
                        'F',  'G',  'F',  'o',  'r',  'e',  0x00, 0x07};

    Bytes compact = {0x00, 0x23};  // 35 words
    compact.insert(compact.end(), head.begin(), head.end());
    compact.insert(compact.end(), compactEntries.begin(), compactEntries.end());
    compact.insert(compact.end(), tail.begin(), tail.end());
    EXPECT_EQ(EncodeMenuRecord(menu, MenuFamily::Compact), compact);

    Bytes full = {0x00, 0x2B};  // 43 words
    full.insert(full.end(), head.begin(), head.end());
    full.insert(full.end(), fullEntries.begin(), fullEntries.end());
    full.insert(full.end(), tail.begin(), tail.end());
    EXPECT_EQ(EncodeMenuRecord(menu, MenuFamily::Full), full);
}

TEST(MenuImageRecordTest, MessageRecordLayout) {
    const MessageDef message{.number = 5, .flags = 0x4000, .caption = "Hi", .text = "Sure?"};
    const Bytes expected = {
        0x00, 0x14,                                                  // 20 words
        0x00, 0x05, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0x00, 0x01,  // caption: one word
        0,    0,    0,    0,    0,    0,                             // not interpreted
        'H',  'i',  0,    0,    0,    0,    0,    0,    0,    0,    0, 0, 0, 0,  // not interpreted
        0x00, 0x03,  // text: three words
        'S',  'u',  'r',  'e',  '?',  0x00,
    };
    EXPECT_EQ(EncodeMessageRecord(message), expected);
}

TEST(MenuImageRecordTest, LongMessageTextIsCutToAShortRecord) {
    const MessageDef message{.number = 9, .caption = "C", .text = std::string(1000, 'x')};
    const Bytes record = EncodeMessageRecord(message);
    EXPECT_EQ(record[0], 0);
    EXPECT_EQ(record.size(), 2u * record[1]);
    EXPECT_LE(record[1], 255);
}

TEST(MenuImageBuilderTest, SmallImageHasEverySectionInOrder) {
    MenuImageBuilder builder(MenuFamily::Compact);
    builder.SetHeader({1, 2, 3, 4});
    builder.AddParameter({.number = 1, .name = "Gain", .rawMax = 3, .note = "xyz"});
    builder.AddFunction({.number = 0x90, .name = "F", .options = {{"Off"}}});
    builder.AddSkippedRecord({.section = 3, .body = {0xAA, 0xBB}});
    builder.AddSkippedRecord({.section = 9, .body = {0xCC}});  // no such section: dropped

    const Bytes param =
        EncodeParameterRecord({.number = 1, .name = "Gain", .rawMax = 3, .note = "xyz"});
    const Bytes function =
        EncodeFunctionRecord({.number = 0x90, .name = "F", .options = {{"Off"}}});
    const Bytes lastFunction = {0x00, 0x0D, 0x00, 0xFF, 0x00, 0x02, 0x00, 0x00, 0x4B,
                                0x56, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01,
                                0x00, 0x00, 'e',  'n',  'd',  0x00, 0x7E, 0x7E};
    Bytes expected = {1, 2, 3, 4, 0x00, 0x01};
    expected.insert(expected.end(), param.begin(), param.end());
    expected.insert(expected.end(), {0x00, 0x02});
    expected.insert(expected.end(), function.begin(), function.end());
    expected.insert(expected.end(), lastFunction.begin(), lastFunction.end());
    expected.insert(expected.end(), {0x00, 0x00});                          // no menus
    expected.insert(expected.end(), {0x00, 0x00, 0x00, 0x00, 0x00, 0x00});  // sections 0..2
    expected.insert(expected.end(), {0x00, 0x01, 0x00, 0x02, 0xAA, 0xBB});  // section 3
    expected.insert(expected.end(), {0x00, 0x00});                          // section 4
    expected.insert(expected.end(), {0x00, 0x00});                          // no messages
    EXPECT_EQ(builder.Build(), expected);
}

}  // namespace
