// Faults switched on a unit or on the whole line, seen from the link.
#include <set>

#include "tests/support/SimLineFixture.h"

namespace {

using SimFaultTest = SimLineFixture;

TEST_F(SimFaultTest, SilentUnitCostsTheTriesAndThenAnswersAgain) {
    units.Unit(1)->Faults().Set(FaultKind::Silent, 0, 2);
    const uint32_t start = CurrentClock().TickCount();
    EXPECT_EQ(Exchange(1, {0xC0}, kPatience200ms), Status::NoAnswer);
    EXPECT_GE(CurrentClock().TickCount() - start, 10u * 20u);
    EXPECT_EQ(Exchange(1, {0xC0}, kPatience200ms), Status::NoAnswer);
    EXPECT_EQ(Exchange(1, {0xC0}, kPatience200ms), Status::Ok);
    EXPECT_EQ(Exchange(2, {0xC0}, kPatience200ms), Status::Ok);
}

TEST_F(SimFaultTest, LateAnswerArrivesAfterItsDelay) {
    units.Unit(1)->Faults().Set(FaultKind::Late, 300);
    const uint32_t start = CurrentClock().TickCount();
    EXPECT_EQ(Exchange(1, {0xC0}, kPatience200ms), Status::NoAnswer);  // 10 tries are 200 ms
    line.ClearToMaster();
    EXPECT_EQ(Exchange(1, {0xC0}, kPatience20s), Status::Ok);
    EXPECT_GE(CurrentClock().TickCount() - start, 300u);
}

TEST_F(SimFaultTest, WrongCodeKeepsAValidPacket) {
    units.Unit(1)->Faults().Set(FaultKind::WrongCode, 0x33);
    ASSERT_EQ(Exchange(1, {0xC0}, kPatience200ms), Status::Ok);
    EXPECT_EQ(Code(), 0x33);
    EXPECT_EQ(Data(2), 11);
    uint8_t sum = 0;
    for (int i = 1; i < 2 + Length(); ++i) {
        sum = static_cast<uint8_t>(sum + answer[static_cast<size_t>(i)]);
    }
    EXPECT_EQ(answer[static_cast<size_t>(2 + Length())], sum);
}

TEST_F(SimFaultTest, TruncatedAnswerStopsEarly) {
    units.Unit(1)->Faults().Set(FaultKind::Truncated, 2);
    EXPECT_EQ(Exchange(1, {0xC0}, kPatience200ms), Status::NoCode);
    units.Unit(1)->Faults().Set(FaultKind::Truncated, 5);
    EXPECT_EQ(Exchange(1, {0xC0}, kPatience200ms), Status::CutShort)
        << "the model code never came: the answer is not used";
}

TEST_F(SimFaultTest, CorruptChecksumIsTheOnlyDifference) {
    ASSERT_EQ(Exchange(1, {0xC0}, kPatience200ms), Status::Ok);
    const AnswerBuffer good = answer;
    units.Unit(1)->Faults().Set(FaultKind::CorruptChecksum, 0);
    ASSERT_EQ(Exchange(1, {0xC0}, kPatience200ms), Status::Ok);
    const size_t checksum = static_cast<size_t>(2 + Length());
    EXPECT_EQ(answer[checksum], static_cast<uint8_t>(~good[checksum]));
    answer[checksum] = good[checksum];
    EXPECT_EQ(answer, good);
}

TEST_F(SimFaultTest, OversizedAnswersFillTheBufferAndMenuDataNeverEnds) {
    units.Unit(1)->Faults().Set(FaultKind::Oversized, 0);
    ASSERT_EQ(Exchange(1, {0x81, 0, 0, 1}), Status::Ok);
    EXPECT_EQ(Length(), 255);
    EXPECT_EQ(Data(0), 0);  // the real entry comes first
    EXPECT_EQ(Data(3), 0xFF);

    ASSERT_EQ(Exchange(1, {0xC5}, kPatience40ms), Status::Ok);
    const size_t imageSize = units.Unit(1)->MenuImage().size();
    size_t received = 0;
    while (received < 65536 + imageSize) {
        ASSERT_EQ(Exchange(1, {0xC1}, kPatience10s), Status::Ok);
        ASSERT_EQ(Code(), 0x41);
        received += static_cast<size_t>(Length() - 1);
    }
}

TEST_F(SimFaultTest, IgnoredCommandGoesUnansweredAndLeavesTheChangeFlagged) {
    units.Unit(1)->ChangeLocally(0, 600);
    units.Unit(1)->Faults().Set(FaultKind::IgnoreCommand, 0xAC);
    EXPECT_EQ(Exchange(1, {0xAC}, kPatience200ms), Status::NoAnswer);
    EXPECT_EQ(Exchange(2, {0xAC}), Status::Ok) << "only the faulty unit is deaf to it";
    ASSERT_EQ(Exchange(1, {0xC0}, kPatience200ms), Status::Ok);
    EXPECT_EQ(Data(0) & kStatusValuesChanged, kStatusValuesChanged);
    EXPECT_EQ(Exchange(1, {0xAC}, kPatience200ms), Status::NoAnswer);

    units.Unit(1)->Faults().ClearAll();
    ASSERT_EQ(Exchange(1, {0xAC}), Status::Ok);
    EXPECT_EQ(Word(0), 600);

    // Limited to one request, on the line: the next one is answered.
    units.LineFaults().Set(FaultKind::IgnoreCommand, 0xB6, 1);
    EXPECT_EQ(Exchange(2, {0xB6}, kPatience200ms), Status::NoAnswer);
    EXPECT_EQ(Exchange(2, {0xB6}), Status::Ok);
}

TEST_F(SimFaultTest, LineFaultsHitEveryUnit) {
    units.LineFaults().Set(FaultKind::Silent, 0);
    EXPECT_EQ(Exchange(1, {0xC0}, kPatience200ms), Status::NoAnswer);
    EXPECT_EQ(Exchange(2, {0xC0}, kPatience200ms), Status::NoAnswer);
    units.LineFaults().ClearAll();
    EXPECT_EQ(Exchange(2, {0xC0}, kPatience200ms), Status::Ok);
}

TEST_F(SimFaultTest, NoiseFloodsTheLineUntilItsCountRunsOut) {
    units.LineFaults().Set(FaultKind::Noise, 0);
    EXPECT_EQ(DrainLine(), DrainResult::Flooded);
    units.LineFaults().Set(FaultKind::Noise, 50);
    EXPECT_EQ(DrainLine(), DrainResult::Silent);
    EXPECT_FALSE(units.LineFaults().Active(FaultKind::Noise));
    EXPECT_EQ(Exchange(1, {0xC0}, kPatience200ms), Status::Ok);
}

TEST(FaultCatalogTest, EveryFaultHasAUniqueName) {
    std::set<std::string> names;
    for (const FaultInfo& info : FaultCatalog()) {
        EXPECT_TRUE(names.insert(info.name).second) << info.name;
        EXPECT_EQ(FaultByName(info.name), info.kind);
    }
    EXPECT_EQ(names.size(), static_cast<size_t>(FaultKind::Count));
    EXPECT_FALSE(FaultByName("gremlins").has_value());
}

}  // namespace
