#include <gtest/gtest.h>

#include "link/DialogRequests.h"
#include "link/GpiCommands.h"
#include "tests/link/StorageFixture.h"

namespace {

class GpiCommandsTest : public StorageFixture {};

constexpr uint8_t kSequenceEnd = 0x5F;

// A sequence record as the unit sends it.
std::vector<uint8_t> WireRecord(const std::string& name, uint8_t step,
                                const std::vector<std::pair<uint8_t, uint8_t>>& events) {
    std::vector<uint8_t> record{0xA1, 0xA2, 0xA3};
    for (int i = 0; i < kNameBytes; ++i) {
        record.push_back(i < static_cast<int>(name.size()) ? static_cast<uint8_t>(name[i]) : 0);
    }
    record.push_back(step);
    record.push_back(static_cast<uint8_t>(events.size()));
    for (const auto& [kind, file] : events) {
        record.push_back(kind);
        record.push_back(file);
    }
    return record;
}

TEST_F(GpiCommandsTest, EventListStoresAtMostTenEntries) {
    AnswerList(0x49, 0x4A, WireEntries(12), 112);
    ASSERT_EQ(ReadGpiEventList(), Status::Ok);
    EXPECT_EQ(Payloads().front(), Bytes{0xBC});
    EXPECT_EQ(Payloads().back(), Bytes{0xBD});
    EXPECT_EQ(g_gpiList.count, 10);
    EXPECT_EQ(g_gpiList.entries[9].number, 10);
    EXPECT_EQ(g_gpiList.entries[9].eventCount, 110);
    EXPECT_EQ(NameText(g_gpiList.entries[0].name), "F1");
}

TEST_F(GpiCommandsTest, PartialEventListEntryIsCountedWithItsMissingBytesZero) {
    Bytes list = WireEntries(1);
    list.insert(list.end(), {0x00, 0x05, 0x00});  // number 5, half an event count
    AnswerList(0x49, 0x4A, list);
    ASSERT_EQ(ReadGpiEventList(), Status::Ok);
    ASSERT_EQ(g_gpiList.count, 2);
    EXPECT_EQ(g_gpiList.entries[1].number, 5);
    EXPECT_EQ(g_gpiList.entries[1].eventCount, 0);
    EXPECT_EQ(NameText(g_gpiList.entries[1].name), "");
}

TEST_F(GpiCommandsTest, EventListFailuresKeepTheOldList) {
    AnswerList(0x49, 0x4A, WireEntries(2));
    ASSERT_EQ(ReadGpiEventList(), Status::Ok);
    Answer(0x00, {0x00});
    EXPECT_EQ(ReadGpiEventList(), Status::WrongLength);
    Answer(0x00);
    Answer(0x47);
    EXPECT_EQ(ReadGpiEventList(), Status::WrongCode);
    EXPECT_EQ(g_gpiList.count, 2);
}

TEST_F(GpiCommandsTest, SequenceReadRepeatsUntilTheEndCodeAndKeepsTheLastData) {
    Answer(0x10, WireRecord("stale", 9, {{1, 1}}));
    Answer(0x10);
    Answer(kSequenceEnd, WireRecord("Studio A", 2, {{1, 0x21}, {1, 0x22}, {3, 0x05}}));
    ASSERT_EQ(ReadGpiSequence(4, GpiSequenceAction::Read), Status::Ok);
    EXPECT_EQ(Payloads(), (std::vector<Bytes>(3, Bytes{0xB3, 4, 2})));
    const GpiSequenceRecord& record = g_gpiSequence[4];
    EXPECT_EQ(record.marker, 0x5F);
    EXPECT_EQ(record.head, (std::array<uint8_t, 3>{0xA1, 0xA2, 0xA3}));
    EXPECT_EQ(NameText(record.name), "Studio A");
    EXPECT_EQ(record.step, 2);
    EXPECT_EQ(record.eventCount, 3);
    EXPECT_EQ(record.eventKind[2], 3);
    EXPECT_EQ(record.eventFile[0], 0x21);
    EXPECT_EQ(record.eventFile[2], 0x05);
}

TEST_F(GpiCommandsTest, SequenceWithoutEventsSetsNameAndStep) {
    g_gpiSequence[0].eventCount = 4;
    Answer(kSequenceEnd, WireRecord("Empty", 0, {}));
    ASSERT_EQ(ReadGpiSequence(0, GpiSequenceAction::Read), Status::Ok);
    EXPECT_EQ(g_gpiSequence[0].eventCount, 0);
    EXPECT_EQ(NameText(g_gpiSequence[0].name), "Empty");
    EXPECT_EQ(g_gpiSequence[0].marker, 0x5F);
}

TEST_F(GpiCommandsTest, PointerActionsTakeOneExchangeAndChangeNoRecord) {
    Answer(0x33, WireRecord("ignored", 1, {{1, 1}}));
    EXPECT_EQ(ReadGpiSequence(1, GpiSequenceAction::Reset), Status::Ok);
    Answer(0x01);
    EXPECT_EQ(ReadGpiSequence(1, GpiSequenceAction::Step), Status::Ok);
    EXPECT_EQ(Payloads(), (std::vector<Bytes>{{0xB3, 1, 3}, {0xB3, 1, 4}}));
    EXPECT_EQ(g_gpiSequence[1].marker, 0);
    peer.Silence();
    EXPECT_EQ(ReadGpiSequence(1, GpiSequenceAction::Step), Status::NoAnswer);
}

TEST_F(GpiCommandsTest, SequenceThatNeverEndsIsGivenUpAndTheRecordKept) {
    for (int i = 0; i < kMaxSequenceAnswers + 3; ++i) {
        Answer(0x10, WireRecord("never", 1, {{1, 1}}));
    }
    EXPECT_EQ(ReadGpiSequence(2, GpiSequenceAction::Read), Status::WrongCode);
    EXPECT_EQ(Payloads().size(), static_cast<size_t>(kMaxSequenceAnswers));
    EXPECT_EQ(g_gpiSequence[2].marker, 0);
}

TEST_F(GpiCommandsTest, SequenceNumbersOutsideTheTableAreReadButNotStored) {
    Answer(kSequenceEnd, WireRecord("far", 1, {{1, 1}}));
    EXPECT_EQ(ReadGpiSequence(kGpiSlots, GpiSequenceAction::Read), Status::Ok);
    for (const GpiSequenceRecord& record : g_gpiSequence) {
        EXPECT_EQ(record.marker, 0);
    }
}

TEST_F(GpiCommandsTest, RecordClaimingMoreEventsThanItCarriesIsCut) {
    Bytes record = WireRecord("short", 1, {{1, 7}, {1, 8}});
    record[28] = 40;      // claims 40 events, carries 2
    record.push_back(9);  // and half of a third
    Answer(kSequenceEnd, record);
    EXPECT_EQ(ReadGpiSequence(3, GpiSequenceAction::Read), Status::WrongLength);
    EXPECT_EQ(g_gpiSequence[3].eventCount, 2);
    EXPECT_EQ(g_gpiSequence[3].eventFile[1], 8);
    EXPECT_EQ(g_gpiSequence[3].eventKind[2], 0);
}

TEST_F(GpiCommandsTest, ParsingKeepsAtMost200EventsAndTheLastOfSeveralRecords) {
    std::vector<std::pair<uint8_t, uint8_t>> events;
    for (int j = 0; j < 255; ++j) {
        events.emplace_back(1, static_cast<uint8_t>(j));
    }
    GpiSequenceRecord record;
    EXPECT_EQ(ParseSequenceRecord(WireRecord("big", 3, events), record), SequenceParse::Truncated);
    EXPECT_EQ(record.eventCount, 200);
    EXPECT_EQ(record.eventFile[199], 199);

    Bytes two = WireRecord("first", 1, {{1, 1}, {1, 2}});
    const Bytes second = WireRecord("second", 4, {{2, 9}});
    two.insert(two.end(), second.begin(), second.end());
    EXPECT_EQ(ParseSequenceRecord(two, record), SequenceParse::Whole);
    EXPECT_EQ(NameText(record.name), "second");
    EXPECT_EQ(record.step, 4);
    EXPECT_EQ(record.eventCount, 1);
    EXPECT_EQ(record.eventFile[0], 9);
    EXPECT_EQ(record.eventFile[1], 0);  // nothing of the first record survives
}

TEST_F(GpiCommandsTest, EventEditsAndStatusCarryTheirBytes) {
    Answer(0x1D);
    EXPECT_EQ(SetGpiEvent(2, 5, kGpiEventInsert, 0x31), Status::Ok);
    Answer(0x1B);
    EXPECT_EQ(SetGpiEvent(2, 0, kGpiEventRemove, 0), Status::WrongCode);
    Answer(0x0D, {3, 7});
    AnswerBuffer answer{};
    EXPECT_EQ(ReadGpiStatus(answer), Status::Ok);
    EXPECT_EQ(AnswerData(answer, 1), 7);
    Answer(0x0C);
    EXPECT_EQ(ReadGpiStatus(answer), Status::WrongCode);
    Answer(0x1D);  // the dialogs' Remove All and Add
    EXPECT_EQ(SetGpiEvent(6, 0, kGpiEventRemove, 0), Status::Ok);
    Answer(0x99);
    EXPECT_EQ(SetGpiEvent(6, 12, kGpiEventInsert, 0x44), Status::WrongCode);
    EXPECT_EQ(Payloads(), (std::vector<Bytes>{{0xB4, 2, 5, 1, 1, 0x31},
                                              {0xB4, 2, 0, 0, 1, 0},
                                              {0x9F},
                                              {0x9F},
                                              {0xB4, 6, 0, 0, 1, 0},
                                              {0xB4, 6, 12, 1, 1, 0x44}}));
}

}  // namespace
