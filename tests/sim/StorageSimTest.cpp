#include <gtest/gtest.h>

#include <algorithm>

#include "link/DialogRequests.h"
#include "link/EffectCommands.h"
#include "link/FileCommands.h"
#include "link/GpiCommands.h"
#include "link/KeyframeCommands.h"
#include "link/LockoutCommands.h"
#include "link/ParameterCommands.h"
#include "link/SetOnAirLockout.h"
#include "link/UnitCommands.h"
#include "sim/line/SimLine.h"
#include "sim/unit/UnitStorage.h"
#include "tests/support/LinkFixture.h"

namespace {

constexpr uint8_t kUnit1 = 0x10;
constexpr uint8_t kUnit2 = 0x20;
constexpr uint8_t kUnit3 = 0x30;
constexpr uint8_t kClip = 0;  // a knob parameter every model has

// The commands against a simulated line: units 1 and 2 of one full-family model and a
// compact unit 3.
class StorageSimTest : public LinkFixture {
  protected:
    void SetUp() override {
        LinkFixture::SetUp();
        ResetStorageTables();
        UsePeer(&sim);
        Select(kUnit1);
    }
    void TearDown() override {
        ResetStorageTables();
        LinkFixture::TearDown();
    }

    void Select(uint8_t address) {
        g_currentUnitAddress = address;
        ASSERT_EQ(IdentifySelectedUnit(), Status::Ok);
    }
    // The main-directory entry called `name`, or nullptr.
    static const DirectoryEntry* Find(FileKind kind, const std::string& name) {
        const FileDirectory& directory = DirectoryOf(kind);
        for (int i = 0; i < directory.count; ++i) {
            if (directory.entries[i].Name() == name) {
                return &directory.entries[i];
            }
        }
        return nullptr;
    }
    SimUnit& Unit(int number) { return *sim.Unit(number); }

    SimLine sim{{{1, 11}, {2, 11}, {3, 4}}};
};

TEST_F(StorageSimTest, SavedFileBringsItsValuesBackOnLoad) {
    ASSERT_EQ(SetParameterWord(kClip, 700), Status::Ok);
    ASSERT_EQ(
        WriteFileEntry(kNewFileId, "Evening News", g_unitStatus[kStatusByteMenu], FileKind::Main),
        Status::Ok);
    ASSERT_EQ(ReadFileList(FileKind::Main), Status::Ok);
    const DirectoryEntry* saved = Find(FileKind::Main, "Evening News");
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(DirectoryOf(FileKind::Main).count, 4);  // three files of a fresh unit

    ASSERT_EQ(SetParameterWord(kClip, 100), Status::Ok);
    ASSERT_EQ(LoadFile(FileKind::Main, static_cast<uint8_t>(saved->fileId)), Status::Ok);
    EXPECT_EQ(Unit(1).Value(kClip), 700);
    ASSERT_EQ(ReadParameterValues(), Status::Ok);
    EXPECT_EQ(g_paramTable[kClip].value, 700);
}

TEST_F(StorageSimTest, ReplacingAndDeletingFiles) {
    ASSERT_EQ(ReadFileList(FileKind::Main), Status::Ok);
    const DirectoryEntry news = *Find(FileKind::Main, "News Open");
    ASSERT_EQ(DeleteFile(FileKind::Main, static_cast<uint16_t>(news.fileId)), Status::Ok);
    ASSERT_EQ(WriteFileEntry(static_cast<uint16_t>(news.fileId), "News Open 2", 5, FileKind::Main),
              Status::Ok);
    ASSERT_EQ(ReadFileList(FileKind::Main), Status::Ok);
    EXPECT_EQ(Find(FileKind::Main, "News Open"), nullptr);
    ASSERT_NE(Find(FileKind::Main, "News Open 2"), nullptr);
    EXPECT_EQ(Find(FileKind::Main, "News Open 2")->fileId, news.fileId);
    EXPECT_EQ(Find(FileKind::Main, "News Open 2")->secondNumber, 5);
    // A file that is not there cannot be deleted or loaded.
    EXPECT_EQ(DeleteFile(FileKind::Main, 0x0999), Status::WrongCode);
    EXPECT_EQ(LoadFile(FileKind::Main, 0x99), Status::WrongCode);
}

TEST_F(StorageSimTest, UserFileCarriesTheCustomMenusBothWays) {
    g_customKnobMap[1][1][0] = 7;
    g_customKnobMap[1][3][5] = 2;
    g_customFunctionMap[1][2][1] = 40;
    ASSERT_EQ(WriteFileEntry(kNewFileId, "Morning", 0, FileKind::User), Status::Ok);
    ASSERT_EQ(ReadFileList(FileKind::User), Status::Ok);
    const DirectoryEntry* saved = Find(FileKind::User, "Morning");
    ASSERT_NE(saved, nullptr);

    ResetProgramState();
    g_currentUnitAddress = kUnit1;
    ASSERT_EQ(LoadFile(FileKind::User, static_cast<uint8_t>(saved->fileId)), Status::Ok);
    EXPECT_EQ(g_customKnobMap[1][1][0], 7);
    EXPECT_EQ(g_customKnobMap[1][3][5], 2);
    EXPECT_EQ(g_customFunctionMap[1][2][1], 40);
    EXPECT_EQ(g_customFunctionMap[1][2][0], kEmptyFunctionOffset);

    // A fresh unit's own user file has empty menus, sent as FF for the buttons.
    const DirectoryEntry* fresh = Find(FileKind::User, "Operator A");
    ASSERT_NE(fresh, nullptr);
    ASSERT_EQ(LoadFile(FileKind::User, static_cast<uint8_t>(fresh->fileId)), Status::Ok);
    EXPECT_EQ(g_customKnobMap[1][1][0], kEmptyKnobParam);
    EXPECT_EQ(g_customFunctionMap[1][2][1], kEmptyFunctionOffset);
}

TEST_F(StorageSimTest, FileCopiedToAnotherUnitArrivesWhole) {
    ASSERT_EQ(SetParameterWord(kClip, 321), Status::Ok);
    ASSERT_EQ(WriteFileEntry(kNewFileId, "Copy Me", 9, FileKind::Main), Status::Ok);
    ASSERT_EQ(ReadFileList(FileKind::Main), Status::Ok);
    const DirectoryEntry* source = Find(FileKind::Main, "Copy Me");
    ASSERT_NE(source, nullptr);
    ASSERT_EQ(ReadFileData(static_cast<uint8_t>(source->fileId)), Status::Ok);
    EXPECT_GT(g_transferBuffer.length, 2 * kFileChunkSize);  // more than two chunks
    ASSERT_EQ(WriteFileData(kUnit2), Status::Ok);

    Select(kUnit2);
    ASSERT_EQ(ReadFileList(FileKind::Main), Status::Ok);
    const DirectoryEntry* copy = Find(FileKind::Main, "Copy Me");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->secondNumber, 9);
    EXPECT_NE(Unit(2).Value(kClip), 321);
    ASSERT_EQ(LoadFile(FileKind::Main, static_cast<uint8_t>(copy->fileId)), Status::Ok);
    EXPECT_EQ(Unit(2).Value(kClip), 321);
}

TEST_F(StorageSimTest, DataThatIsNoFileIsRefusedByTheTarget) {
    g_transferBuffer.length = 300;
    g_transferBuffer.complete = true;
    std::fill_n(g_transferBuffer.bytes.begin(), 300, 0x42);
    EXPECT_EQ(WriteFileData(kUnit2), Status::WrongCode);
    Select(kUnit2);
    ASSERT_EQ(ReadFileList(FileKind::Main), Status::Ok);
    EXPECT_EQ(DirectoryOf(FileKind::Main).count, 3);
}

TEST_F(StorageSimTest, FileSystemRebuildTakesTimeAndKeepsValues) {
    ASSERT_EQ(SetParameterWord(kClip, 444), Status::Ok);
    const uint32_t start_ms = time.clock.TickCount();
    ASSERT_EQ(UpdateFileSystem(kUnit1), Status::Ok);
    EXPECT_GE(time.clock.TickCount() - start_ms, 400u);
    EXPECT_EQ(UpdateFileSystem(0x40), Status::Ok);  // nobody there
    Select(kUnit1);
    EXPECT_EQ(g_unitStatus[kStatusByteFlags] & kStatusBusy, 0);
    EXPECT_EQ(Unit(1).Value(kClip), 444);
}

TEST_F(StorageSimTest, GpiEventsAndPointer) {
    ASSERT_EQ(ReadGpiEventList(), Status::Ok);
    ASSERT_EQ(g_gpiList.count, 10);
    EXPECT_EQ(g_gpiList.entries[0].eventCount, 2);
    ASSERT_EQ(SetGpiEvent(1, 0, kGpiEventInsert, 3), Status::Ok);
    ASSERT_EQ(SetGpiEvent(1, 1, kGpiEventInsert, 2), Status::Ok);
    ASSERT_EQ(SetGpiEvent(1, 0, kGpiEventInsert, 1), Status::Ok);
    ASSERT_EQ(ReadGpiSequence(1, GpiSequenceAction::Read), Status::Ok);
    const GpiSequenceRecord& record = g_gpiSequence[1];
    ASSERT_EQ(record.eventCount, 3);
    EXPECT_EQ((std::vector<uint8_t>(record.eventFile.begin(), record.eventFile.begin() + 3)),
              (std::vector<uint8_t>{1, 3, 2}));
    EXPECT_EQ(NameText(record.name), "GPI 2");

    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(ReadGpiSequence(1, GpiSequenceAction::Step), Status::Ok);
    }
    ASSERT_EQ(ReadGpiSequence(1, GpiSequenceAction::Read), Status::Ok);
    EXPECT_EQ(g_gpiSequence[1].step, 1);  // three events: the fourth step comes round
    AnswerBuffer status{};
    ASSERT_EQ(ReadGpiStatus(status), Status::Ok);
    EXPECT_EQ(AnswerData(status, 0), 2);
    EXPECT_EQ(AnswerData(status, 1), 1);
    EXPECT_EQ(AnswerData(status, 12), 1);
    ASSERT_EQ(ReadGpiSequence(1, GpiSequenceAction::Reset), Status::Ok);
    ASSERT_EQ(ReadGpiSequence(1, GpiSequenceAction::Read), Status::Ok);
    EXPECT_EQ(g_gpiSequence[1].step, 0);

    ASSERT_EQ(SetGpiEvent(1, 0, kGpiEventRemove, 0), Status::Ok);
    EXPECT_EQ(SetGpiEvent(1, 9, kGpiEventRemove, 0), Status::WrongCode);
    ASSERT_EQ(ReadGpiEventList(), Status::Ok);
    EXPECT_EQ(g_gpiList.entries[1].eventCount, 2);
}

TEST_F(StorageSimTest, EffectsWithKeyframes) {
    Select(kUnit3);
    ASSERT_EQ(ReadEffectList(), Status::Ok);
    ASSERT_EQ(g_effectCount, 2);
    uint8_t number = 0;
    ASSERT_EQ(CreateEffect("Spin", number), Status::Ok);
    EXPECT_EQ(number, 2);
    AnswerBuffer answer{};
    const std::vector<uint8_t> items{4, 5, 0x85};
    ASSERT_EQ(WriteAssignments(number, items, answer), Status::Ok);
    ASSERT_EQ(ReadEffectList(), Status::Ok);
    ASSERT_EQ(RequestAssignments(number, answer), Status::Ok);
    ASSERT_EQ(ApplyEffectAssignments(answer), 2);
    EXPECT_EQ(g_effectTable[2].assignmentCount, 3);
    EXPECT_EQ(g_effectTable[2].assignments[2], 0x85);

    for (int k = 1; k <= kMaxKeyframes; ++k) {
        const std::vector<uint8_t> insert{
            number, static_cast<uint8_t>(k), 1, 0, static_cast<uint8_t>(10 * k), 0, 0, 0};
        ASSERT_EQ(SendCommand(Command::Keyframe, 0x5E, insert, answer), Status::Ok);
    }
    const std::vector<uint8_t> tooMany{number, 33, 1, 0, 1, 0, 0, 0};
    EXPECT_EQ(SendCommand(Command::Keyframe, 0x5E, tooMany, answer), Status::WrongCode);
    ASSERT_EQ(RequestEffectInfo(number, answer), Status::Ok);
    ASSERT_EQ(ApplyEffectInfo(answer), 2);
    EXPECT_EQ(g_effectTable[2].keyframeCount, 32);
    ASSERT_EQ(ReadKeyframe(number, 4, answer), Status::Ok);
    ASSERT_TRUE(StoreKeyframe(2, 4, answer));
    EXPECT_EQ(g_effectTable[2].keyframes[4].time, 50);

    const std::vector<uint8_t> remove{number, 0, 0, 0, 10};
    ASSERT_EQ(SendCommand(Command::Keyframe, 0x33, remove, answer), Status::Ok);
    ASSERT_EQ(ReadKeyframe(number, 0, answer), Status::Ok);
    EXPECT_EQ(KeyframeFromAnswer(answer).time, 20);

    g_currentEffect = number;
    EXPECT_EQ(SelectEffect(), Status::Ok);
    ASSERT_EQ(RequestEffectDelete(0, answer), Status::Ok);
    ASSERT_EQ(ReadEffectList(), Status::Ok);
    EXPECT_EQ(g_effectCount, 2);
    EXPECT_EQ(g_effectTable[1].Name(), "Spin");  // numbered in list order again
    EXPECT_EQ(g_effectTable[1].number, 1);
}

TEST_F(StorageSimTest, InfoAboutAMissingEffectStoresNothing) {
    AnswerBuffer answer{};
    g_effectTable[0].keyframeCount = 3;
    ASSERT_EQ(RequestEffectInfo(7, answer), Status::Ok);
    EXPECT_EQ(ApplyEffectInfo(answer), -1);
    EXPECT_EQ(g_effectTable[0].keyframeCount, 3);
}

TEST_F(StorageSimTest, LockOutOfAModelFourUnitComesFunctionsFirst) {
    Select(kUnit3);
    ASSERT_EQ(SetOnAirLockout(0x90, kLockStateLocked), Status::Ok);
    ASSERT_EQ(SetOnAirLockout(3, kLockStateLocked), Status::Ok);
    ASSERT_EQ(ReadOnAirLockout(), Status::Ok);
    EXPECT_EQ(g_onAirLockTable[kFunctionLockTable][0x10], kLockStateLocked);
    EXPECT_EQ(g_onAirLockTable[kKnobLockTable][3], kLockStateLocked);
    EXPECT_EQ(g_onAirLockTable[kKnobLockTable][0x10], kLockStateUnlocked);
}

TEST_F(StorageSimTest, ListFaultsAreReportedAndLeaveTheTables) {
    ASSERT_EQ(ReadFileList(FileKind::Main), Status::Ok);

    Unit(1).Faults().Set(FaultKind::SilentMidList, 0, 1);
    EXPECT_EQ(ReadFileList(FileKind::Main), Status::NoAnswer);
    EXPECT_EQ(DirectoryOf(FileKind::Main).count, 3);

    // Oversized answers: even the list's start is too long, so nothing is taken.
    Unit(1).Faults().Set(FaultKind::Oversized, 0);
    EXPECT_EQ(ReadFileList(FileKind::Main), Status::WrongLength);
    EXPECT_EQ(DirectoryOf(FileKind::Main).count, 3);
    EXPECT_EQ(ReadEffectList(), Status::WrongLength);
    EXPECT_EQ(g_effectCount, 0);
    Unit(1).Faults().ClearAll();

    // Lists that never end: the tables take what their buffers hold and the unit is left.
    Unit(1).Faults().Set(FaultKind::EndlessList, 0);
    EXPECT_EQ(ReadFileList(FileKind::Main), Status::WrongLength);
    EXPECT_EQ(DirectoryOf(FileKind::Main).count, kDirectoryMaxCount);
    EXPECT_EQ(DirectoryOf(FileKind::Main).entries[99].Name(), "Factory Setup");
    EXPECT_EQ(ReadEffectList(), Status::WrongLength);
    EXPECT_EQ(g_effectCount, kEffectSlots);
    EXPECT_EQ(ReadGpiEventList(), Status::WrongLength);
    EXPECT_EQ(g_gpiList.count, kGpiSlots);
    EXPECT_EQ(ReadFileData(1), Status::WrongLength);
    EXPECT_EQ(g_transferBuffer.length, kTransferBufferSize);
    EXPECT_EQ(WriteFileData(kUnit2), Status::WrongLength);  // not a whole file
    Unit(1).Faults().ClearAll();

    Unit(1).Faults().Set(FaultKind::WrongCode, 0x7F, 2);
    EXPECT_EQ(ReadGpiEventList(), Status::WrongCode);
    EXPECT_EQ(ReadGpiEventList(), Status::WrongCode);
    EXPECT_EQ(ReadGpiEventList(), Status::Ok);

    sim.LineFaults().Set(FaultKind::Noise, 0);
    EXPECT_EQ(ReadFileList(FileKind::Main), Status::WriteFailed);
    sim.LineFaults().ClearAll();
    EXPECT_EQ(ReadFileList(FileKind::Main), Status::Ok);
    EXPECT_EQ(DirectoryOf(FileKind::Main).count, 3);
}

}  // namespace
