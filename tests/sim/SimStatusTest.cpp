// Status flags and messages move as a unit's would.
#include "tests/support/SimLineFixture.h"

namespace {

class SimStatusTest : public SimLineFixture {
  protected:
    // Identifies unit 1 and returns its flags and message number.
    std::pair<int, int> Poll(int unit = 1) {
        EXPECT_EQ(Exchange(unit, {0xC0}, kPatience200ms), Status::Ok);
        return {Data(0), Data(1)};
    }
};

TEST_F(SimStatusTest, LocalChangesAreFlaggedUntilTheValuesAreRead) {
    units.Unit(1)->ChangeLocally(2, 300);
    EXPECT_EQ(Poll().first, 0x42);
    EXPECT_EQ(Poll().first, 0x42) << "flag stays until the values are read";
    ASSERT_EQ(Exchange(1, {0xAC}), Status::Ok);
    EXPECT_EQ(Word(4), 300);
    EXPECT_EQ(Poll().first, 0x40);

    // A change that changes nothing raises no flag.
    units.Unit(1)->ChangeLocally(2, 300);
    EXPECT_EQ(Poll().first, 0x40);
}

TEST_F(SimStatusTest, MenuShownOnTheUnitIsReportedWithTheStateFlag) {
    units.Unit(1)->ShowMenu(26);
    ASSERT_EQ(Exchange(1, {0xC0}, kPatience200ms), Status::Ok);
    EXPECT_EQ(Data(0), 0x44);
    EXPECT_EQ(Data(3), 26);
    ASSERT_EQ(Exchange(1, {0xAC}), Status::Ok);
    EXPECT_EQ(Poll().first, 0x40);
}

TEST_F(SimStatusTest, PlainMessageIsReportedOnce) {
    units.Unit(1)->PostMessage(2);
    EXPECT_EQ(Poll().second, 2);
    EXPECT_EQ(Poll().second, 0);
}

TEST_F(SimStatusTest, TextMessageWaitsForItsText) {
    units.Unit(1)->PostMessage(255, "Fan failure");
    EXPECT_EQ(Poll().second, 255);
    EXPECT_EQ(Poll().second, 255);
    ASSERT_EQ(Exchange(1, {0xB5}), Status::Ok);
    EXPECT_EQ(Poll().second, 0);
}

TEST_F(SimStatusTest, QuestionWaitsForTheReply) {
    units.Unit(1)->PostMessage(5);
    EXPECT_EQ(Poll().second, 5);
    EXPECT_EQ(Poll().second, 5);
    ASSERT_EQ(Exchange(1, {0x9E, 20, 0}), Status::Ok);  // acknowledge also clears it
    EXPECT_EQ(Poll().second, 0);

    units.Unit(1)->PostMessage(6);
    ASSERT_EQ(Exchange(1, {0x9E, 11, 1}), Status::Ok);
    EXPECT_EQ(Poll().second, 0);
    EXPECT_EQ(units.Unit(1)->Replies().back(), (std::pair<uint8_t, uint8_t>{11, 1}));
}

TEST_F(SimStatusTest, ClearingFilesKeepsTheUnitBusyThenRestoresDefaults) {
    ASSERT_EQ(Exchange(1, {0xA8, 0, 0x00, 0x10}), Status::Ok);  // clip away from its default
    ASSERT_EQ(Exchange(1, {0xA8, 163, 1}), Status::Ok);
    EXPECT_EQ(Poll().first & 0x10, 0x10);
    // A busy unit answers nothing but its identification.
    EXPECT_EQ(Exchange(1, {0xAC}, kPatience200ms), Status::NoAnswer);

    time.clock.Advance(kClearFilesBusy_ms);
    const auto [flags, message] = Poll();
    EXPECT_EQ(flags & 0x10, 0);
    EXPECT_EQ(flags & 0x06, 0x06);
    EXPECT_EQ(message, 4);
    ASSERT_EQ(Exchange(1, {0xAC}), Status::Ok);
    EXPECT_EQ(Word(0), 512);
}

TEST_F(SimStatusTest, BootModeUnitOnlyIdentifiesItself) {
    units.Unit(2)->SetFlag(kStatusBootMode, true);
    EXPECT_EQ(Poll(2).first, 0x48);
    EXPECT_EQ(Exchange(2, {0xC5}, kPatience200ms), Status::NoAnswer);
    ASSERT_EQ(Exchange(2, {0xAB}), Status::Ok);
    units.Unit(2)->SetFlag(kStatusBootMode, false);
    EXPECT_EQ(Exchange(2, {0xC5}, kPatience200ms), Status::Ok);
}

TEST_F(SimStatusTest, ReferenceVideoAndIndicatorFlags) {
    units.Unit(1)->SetFlag(kStatusReferenceVideo, false);
    units.Unit(1)->SetFlag(kStatusIndicator, true);
    EXPECT_EQ(Poll().first, 0x01);
}

TEST_F(SimStatusTest, PowerCycleForgetsMessagesAndReportsAChangedState) {
    units.Unit(1)->PostMessage(5);
    units.Unit(1)->SetPower(false);
    units.Unit(1)->SetPower(true);
    const auto [flags, message] = Poll();
    EXPECT_EQ(flags, 0x44);
    EXPECT_EQ(message, 0);
}

}  // namespace
