// Commands answered over the wire, as the panel's link sends them.
#include <string>

#include "sim/models/ModelCatalog.h"
#include "sim/unit/UnitStorage.h"
#include "tests/support/SimLineFixture.h"

namespace {

constexpr uint8_t kIdentify = 0xC0;

using SimCommandTest = SimLineFixture;

TEST_F(SimCommandTest, IdentifyReportsFlagsModelAndMenu) {
    ASSERT_EQ(Exchange(1, {kIdentify}, kPatience200ms), Status::Ok);
    EXPECT_EQ(answer[0], 0x10);
    EXPECT_EQ(Code(), 0x40);
    EXPECT_EQ(Length(), 10);
    EXPECT_EQ(Data(0), 0x40);  // reference video present, nothing else
    EXPECT_EQ(Data(1), 0);
    EXPECT_EQ(Data(2), 11);
    EXPECT_EQ(Data(3), 0);

    ASSERT_EQ(Exchange(2, {kIdentify}, kPatience200ms), Status::Ok);
    EXPECT_EQ(answer[0], 0x20);
    EXPECT_EQ(Data(2), 4);
}

TEST_F(SimCommandTest, AbsentAndSwitchedOffUnitsStaySilent) {
    EXPECT_EQ(Exchange(3, {kIdentify}, kPatience200ms), Status::NoAnswer);
    units.Unit(1)->SetPower(false);
    EXPECT_EQ(Exchange(1, {kIdentify}, kPatience200ms), Status::NoAnswer);
    units.Unit(1)->SetPower(true);
    EXPECT_EQ(Exchange(1, {kIdentify}, kPatience200ms), Status::Ok);
}

TEST_F(SimCommandTest, UnknownCommandsAndMalformedArgumentsGetNoAnswer) {
    EXPECT_EQ(Exchange(1, {0x77}, kPatience200ms), Status::NoAnswer);
    EXPECT_EQ(Exchange(1, {0x81, 0x00}, kPatience200ms), Status::NoAnswer);  // adjust without delta
    EXPECT_EQ(Exchange(1, {0x9E}, kPatience200ms), Status::NoAnswer);
    EXPECT_EQ(Exchange(1, {kIdentify}, kPatience200ms), Status::Ok);  // the unit still listens
}

TEST_F(SimCommandTest, RequestFlagsInTheLowNibbleAreIgnored) {
    const std::vector<uint8_t> request = {0x1F, 0x01, kIdentify, 0xC1};
    for (uint8_t b : request) {
        ASSERT_EQ(g_link.WriteByte(b), IoResult::Done);
    }
    ASSERT_EQ(ReceivePacket(answer, kPatience200ms), Status::Ok);
    EXPECT_EQ(Code(), 0x40);
}

TEST_F(SimCommandTest, RequestWithWrongChecksumIsIgnored) {
    for (uint8_t b : {0x12, 0x01, 0xC0, 0xC2}) {
        ASSERT_EQ(g_link.WriteByte(b), IoResult::Done);
    }
    EXPECT_EQ(ReceivePacket(answer, kPatience200ms), Status::NoAnswer);
    EXPECT_EQ(units.RequestsDropped(), 1);
}

TEST_F(SimCommandTest, BreakDiscardsHalfAReceivedRequest) {
    for (uint8_t b : {0x12, 0x04, 0x81}) {
        ASSERT_EQ(g_link.WriteByte(b), IoResult::Done);
    }
    ASSERT_EQ(g_link.SendBreak(), Status::Ok);
    ASSERT_EQ(Exchange(1, {kIdentify}, kPatience200ms), Status::Ok);
    EXPECT_EQ(Code(), 0x40);
}

TEST_F(SimCommandTest, ValueReadsCarryWordsThenBytes) {
    SimUnit& unit = *units.Unit(1);
    unit.SetValue(0, 0x0123);
    unit.SetValue(3, -5);
    unit.SetValue(135, 2);
    unit.SetReference(1, 700);
    unit.SetReference(140, 3);

    ASSERT_EQ(Exchange(1, {0xAC}), Status::Ok);
    EXPECT_EQ(Code(), 0x02);
    EXPECT_EQ(Length(), 255);
    EXPECT_EQ(Data(0), 0x01);
    EXPECT_EQ(Data(1), 0x23);
    EXPECT_EQ(Word(6), -5);
    EXPECT_EQ(Word(2 * 114), 25);  // dwell frames

    ASSERT_EQ(Exchange(1, {0xAE}), Status::Ok);
    EXPECT_EQ(Code(), 0x25);
    EXPECT_EQ(Length(), 131);
    EXPECT_EQ(Word(0), 0);  // parameter 127 is not defined
    EXPECT_EQ(Data(2 + 135 - 128), 2);
    EXPECT_EQ(Data(2 + 214 - 128), 1);  // polarity starts high

    ASSERT_EQ(Exchange(1, {0xAD}), Status::Ok);
    EXPECT_EQ(Code(), 0x03);
    EXPECT_EQ(Length(), 255);
    EXPECT_EQ(Word(2), 700);
    ASSERT_EQ(Exchange(1, {0xAF}), Status::Ok);
    EXPECT_EQ(Code(), 0x26);
    EXPECT_EQ(Length(), 131);
    EXPECT_EQ(Data(2 + 140 - 128), 3);
}

TEST_F(SimCommandTest, AdjustClampsAndListsEveryChange) {
    // Clip 0..1023 starts at 512.
    ASSERT_EQ(Exchange(1, {0x81, 0, 0x00, 0x10}), Status::Ok);
    EXPECT_EQ(Code(), 0x04);
    EXPECT_EQ(DataBytes(), (std::vector<uint8_t>{0, 0x02, 0x10}));

    ASSERT_EQ(Exchange(1, {0x81, 0, 0x7F, 0xFF}), Status::Ok);
    EXPECT_EQ(DataBytes(), (std::vector<uint8_t>{0, 0x03, 0xFF}));
    ASSERT_EQ(Exchange(1, {0x81, 0, 0x00, 0x01}), Status::Ok);  // at the top already
    EXPECT_EQ(Length(), 1);

    // A negative delta below the bottom of a range around zero.
    ASSERT_EQ(Exchange(1, {0x81, 3, 0x80, 0x00}), Status::Ok);
    EXPECT_EQ(DataBytes(), (std::vector<uint8_t>{3, 0xFF, 0x9C}));  // -100

    // Functions are single bytes.
    ASSERT_EQ(Exchange(1, {0x81, 140, 0x00, 0x09}), Status::Ok);
    EXPECT_EQ(DataBytes(), (std::vector<uint8_t>{140, 3}));
}

TEST_F(SimCommandTest, CoupledParametersMoveTogether) {
    // The screen master carries the three screen colours with it (all start at 128).
    units.Unit(1)->SetValue(61, 250);
    ASSERT_EQ(Exchange(1, {0x81, 101, 0x00, 0x0A}), Status::Ok);
    EXPECT_EQ(DataBytes(), (std::vector<uint8_t>{101, 0, 138, 59, 0, 138, 60, 0, 138, 61, 0, 255}));
}

TEST_F(SimCommandTest, SettingAViewSwitchesTheOthersOff) {
    ASSERT_EQ(Exchange(1, {0xA8, 129, 1}), Status::Ok);
    EXPECT_EQ(DataBytes(), (std::vector<uint8_t>{129, 1}));
    ASSERT_EQ(Exchange(1, {0xA8, 132, 1}), Status::Ok);
    EXPECT_EQ(DataBytes(), (std::vector<uint8_t>{132, 1, 129, 0}));
    // The byte 255 asks for a function's value and changes nothing.
    ASSERT_EQ(Exchange(1, {0xA8, 132, 255}), Status::Ok);
    EXPECT_EQ(DataBytes(), (std::vector<uint8_t>{132, 1}));
    ASSERT_EQ(Exchange(1, {0xA8, 129, 255}), Status::Ok);
    EXPECT_EQ(DataBytes(), (std::vector<uint8_t>{129, 0}));
}

TEST_F(SimCommandTest, WordWritesClampAndTheResetValueRestoresTheDefault) {
    ASSERT_EQ(Exchange(1, {0xA8, 114, 0x01, 0xF4}), Status::Ok);  // 500 > 300
    EXPECT_EQ(Code(), 0x04);
    EXPECT_EQ(DataBytes(), (std::vector<uint8_t>{114, 0x01, 0x2C}));
    ASSERT_EQ(Exchange(1, {0xA8, 114, 0x7F, 0xFF}), Status::Ok);
    EXPECT_EQ(DataBytes(), (std::vector<uint8_t>{114, 0x00, 25}));
    ASSERT_EQ(Exchange(1, {0xA8, 3, 0xFF, 0xF6}), Status::Ok);  // -10
    EXPECT_EQ(DataBytes(), (std::vector<uint8_t>{3, 0xFF, 0xF6}));
    // A parameter the model lacks changes nothing.
    ASSERT_EQ(Exchange(1, {0xA8, 127, 0x00, 0x05}), Status::Ok);
    EXPECT_EQ(Length(), 1);
}

TEST_F(SimCommandTest, MenuImageChunksReassembleToTheBuiltImage) {
    ASSERT_EQ(Exchange(1, {0xC5}, kPatience40ms), Status::Ok);
    EXPECT_EQ(Code(), 0x00);
    EXPECT_EQ(Length(), 1);
    std::vector<uint8_t> image;
    int chunks = 0;
    for (;;) {
        ASSERT_EQ(Exchange(1, {0xC1}, kPatience10s), Status::Ok);
        ASSERT_LE(Length(), 255);
        const std::vector<uint8_t> data = DataBytes();
        image.insert(image.end(), data.begin(), data.end());
        ++chunks;
        if (Code() == 0x42) {
            break;
        }
        ASSERT_EQ(Code(), 0x41);
        ASSERT_EQ(data.size(), 254u) << "only the last chunk may be short";
        ASSERT_LT(chunks, 300);
    }
    EXPECT_EQ(image, units.Unit(1)->MenuImage());
    EXPECT_EQ(chunks, static_cast<int>((image.size() + 253) / 254));

    // A new prepare starts from the top again.
    ASSERT_EQ(Exchange(1, {0xC5}, kPatience40ms), Status::Ok);
    ASSERT_EQ(Exchange(1, {0xC1}, kPatience10s), Status::Ok);
    EXPECT_EQ(Data(0), image[0]);
}

TEST_F(SimCommandTest, TextsAndRepliesHaveTheirCodes) {
    units.Unit(1)->SetSettingsLabel("Studio B");
    ASSERT_EQ(Exchange(1, {0xB6}), Status::Ok);
    EXPECT_EQ(Code(), 0x00);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&answer[kAnswerData + 2])), "Studio B");

    units.Unit(1)->PostMessage(100, "Input 3 lost");
    ASSERT_EQ(Exchange(1, {0xB5}), Status::Ok);
    EXPECT_EQ(Code(), 0x21);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&answer[kAnswerData])), "Input 3 lost");

    ASSERT_EQ(Exchange(1, {0x9E, 11, 2}), Status::Ok);
    EXPECT_EQ(Code(), 0x05);
    EXPECT_EQ(Length(), 1);
    ASSERT_EQ(units.Unit(1)->Replies().size(), 1u);
    EXPECT_EQ(units.Unit(1)->Replies()[0], (std::pair<uint8_t, uint8_t>{11, 2}));

    ASSERT_EQ(Exchange(2, {0xAB}), Status::Ok);
    const std::string version(reinterpret_cast<const char*>(&answer[kAnswerData]));
    EXPECT_EQ(version, FindModel(4)->versionText);
    EXPECT_EQ(Length(), static_cast<int>(version.size()) + 2);
}

TEST_F(SimCommandTest, LockoutTablesComeInModelOrder) {
    units.Unit(1)->SetLockState(5, kLockStateLocked);
    units.Unit(2)->SetLockState(5, kLockStateLocked);
    ASSERT_EQ(Exchange(2, {0xB8, 130, 1}), Status::Ok);
    EXPECT_EQ(Code(), 0x00);
    ASSERT_EQ(Exchange(2, {0xB8, 130, 7}), Status::Ok);  // not a lock state
    EXPECT_EQ(Code(), 0x01);

    // Full model: knob table first.
    ASSERT_EQ(Exchange(1, {0xB9}), Status::Ok);
    EXPECT_EQ(Code(), 0x02);
    EXPECT_EQ(Length(), 129);
    EXPECT_EQ(Data(5), kLockStateLocked);
    EXPECT_EQ(Data(0), kLockStateUnlocked);
    ASSERT_EQ(Exchange(1, {0xB9}), Status::Ok);
    EXPECT_EQ(Data(5), kLockStateUnlocked);

    // Model 4: function table first.
    ASSERT_EQ(Exchange(2, {0xB9}), Status::Ok);
    EXPECT_EQ(Data(2), kLockStateLocked);
    EXPECT_EQ(Data(5), kLockStateUnlocked);
    ASSERT_EQ(Exchange(2, {0xB9}), Status::Ok);
    EXPECT_EQ(Data(5), kLockStateLocked);
    EXPECT_EQ(Data(2), kLockStateUnlocked);

    // Another command in between starts the pair afresh.
    ASSERT_EQ(Exchange(2, {0xB9}), Status::Ok);
    ASSERT_EQ(Exchange(2, {kIdentify}, kPatience200ms), Status::Ok);
    ASSERT_EQ(Exchange(2, {0xB9}), Status::Ok);
    EXPECT_EQ(Data(2), kLockStateLocked);
}

// A write that claims more assignments than it carries stores only those it carries.
TEST_F(SimCommandTest, ShortAssignmentWritesStoreOnlyTheItemsSent) {
    std::vector<StoredEffect>& effects = units.Unit(1)->Storage().Effects();
    effects.push_back(StoredEffect{.name = "Wipe", .assignments = {7, 8}});

    ASSERT_EQ(Exchange(1, {0xB1, 0, 0x01, 3, 21}, kPatience200ms), Status::Ok);
    EXPECT_EQ(Code(), 0x00);
    EXPECT_EQ(effects[0].assignments, std::vector<uint8_t>{21});

    ASSERT_EQ(Exchange(1, {0xB1, 0, 0x01}, kPatience200ms), Status::Ok);
    EXPECT_EQ(Code(), 0x00);
    EXPECT_TRUE(effects[0].assignments.empty());
}

}  // namespace
