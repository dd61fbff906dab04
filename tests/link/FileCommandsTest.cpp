#include <gtest/gtest.h>

#include "link/CollectedList.h"
#include "link/FileCommands.h"
#include "model/PanelModel.h"
#include "tests/link/StorageFixture.h"

namespace {

class FileCommandsTest : public StorageFixture {};

constexpr uint8_t kMainMore = 0x43;
constexpr uint8_t kMainLast = 0x44;
constexpr uint8_t kUserMore = 0x45;
constexpr uint8_t kUserLast = 0x46;

TEST_F(FileCommandsTest, DirectoryListsAreAskedForWithTheirKindsCommands) {
    AnswerList(kMainMore, kMainLast, WireEntries(10), 140);
    ASSERT_EQ(ReadFileList(FileKind::Main), Status::Ok);
    EXPECT_EQ(Payloads(), (std::vector<Bytes>{{0xC2}, {0xC6}, {0xC6}}));
    EXPECT_EQ(AddressOf(0), 0x12);

    AnswerList(kUserMore, kUserLast, WireEntries(1));
    ASSERT_EQ(ReadFileList(FileKind::User), Status::Ok);
    EXPECT_EQ(Payloads().back(), Bytes{0xC7});
    EXPECT_EQ(Payloads().at(3), Bytes{0xC3});
    EXPECT_EQ(DirectoryOf(FileKind::User).count, 1);
    EXPECT_EQ(DirectoryOf(FileKind::Main).count, 10);
}

TEST_F(FileCommandsTest, DirectoryEntriesAreCutFrom28ByteRecords) {
    Bytes list = WireEntry(0x1234, 0xABCD, "Opening titles");
    const Bytes second = WireEntry(7, 0, "Sports");
    list.insert(list.end(), second.begin(), second.end());
    list.push_back(0x00);  // a partial third entry
    list.push_back(0x09);
    AnswerList(kMainMore, kMainLast, list, 28);
    ASSERT_EQ(ReadFileList(FileKind::Main), Status::Ok);
    const FileDirectory& directory = DirectoryOf(FileKind::Main);
    EXPECT_EQ(directory.count, 2);
    EXPECT_EQ(directory.entries[0].fileId, 0x1234);
    EXPECT_EQ(directory.entries[0].secondNumber, 0xABCD);
    EXPECT_EQ(directory.entries[0].Name(), "Opening titles");
    EXPECT_EQ(directory.entries[1].fileId, 7);
    EXPECT_EQ(directory.entries[1].Name(), "Sports");
}

TEST_F(FileCommandsTest, DirectoryCountsEndAt99) {
    AnswerList(kMainMore, kMainLast, WireEntries(100));
    ASSERT_EQ(ReadFileList(FileKind::Main), Status::Ok);
    EXPECT_EQ(DirectoryOf(FileKind::Main).count, 99);
    EXPECT_EQ(DirectoryOf(FileKind::Main).stored, 100);
    EXPECT_EQ(DirectoryOf(FileKind::Main).entries[99].Name(), "F100");
}

TEST_F(FileCommandsTest, DirectoryLongerThanItsBufferKeepsWhatFitsAndSaysSo) {
    AnswerList(kMainMore, kMainLast, WireEntries(103));
    EXPECT_EQ(ReadFileList(FileKind::Main), Status::WrongLength);
    const FileDirectory& directory = DirectoryOf(FileKind::Main);
    EXPECT_EQ(directory.count, 99);
    EXPECT_EQ(directory.entries[99].Name(), "F100");
    // It stops at the answer that overflowed instead of reading the rest.
    EXPECT_EQ(Payloads().size(), 1u + (2800 + 223) / 224);
}

TEST_F(FileCommandsTest, UnitThatNeverEndsItsListIsLeftAfterABoundedRun) {
    Answer(0x00);
    for (int i = 0; i < kMaxListAnswers + 5; ++i) {
        Answer(kMainMore);
    }
    EXPECT_EQ(ReadFileList(FileKind::Main), Status::WrongLength);
    EXPECT_EQ(Payloads().size(), 1u + kMaxListAnswers);
}

TEST_F(FileCommandsTest, FailedListsKeepTheOldDirectory) {
    AnswerList(kMainMore, kMainLast, WireEntries(3));
    ASSERT_EQ(ReadFileList(FileKind::Main), Status::Ok);

    peer.AnswerPacket(0x10, 0x00, {0x01});  // L = 2
    EXPECT_EQ(ReadFileList(FileKind::Main), Status::WrongLength);
    Answer(0x01);
    EXPECT_EQ(ReadFileList(FileKind::Main), Status::WrongCode);
    Answer(0x00);
    Answer(kMainMore, WireEntries(1));
    Answer(kUserLast);  // the other directory's code
    EXPECT_EQ(ReadFileList(FileKind::Main), Status::WrongCode);
    Answer(0x00);
    peer.Silence();
    EXPECT_EQ(ReadFileList(FileKind::Main), Status::NoAnswer);
    EXPECT_EQ(DirectoryOf(FileKind::Main).count, 3);
    EXPECT_EQ(DirectoryOf(FileKind::Main).entries[2].Name(), "F3");
}

TEST_F(FileCommandsTest, SavingAMainFileSendsTheNameAndContext) {
    Answer(0x77);  // any code is taken
    EXPECT_EQ(WriteFileEntry(kNewFileId, "A", 12, FileKind::Main), Status::Ok);
    EXPECT_EQ(peer.Requests().at(0),
              (Bytes{0x12, 0x07, 0xCC, 0xFF, 0xFF, 0x00, 12, 0x41, 0x00,
                     static_cast<uint8_t>(0x07 + 0xCC + 0xFF + 0xFF + 12 + 0x41)}));

    Answer(0x00);
    EXPECT_EQ(WriteFileEntry(0x0102, std::string(30, 'x'), 3, FileKind::Main), Status::Ok);
    const Bytes payload = Payloads().at(1);
    EXPECT_EQ(payload.size(), 23u + 6u);
    EXPECT_EQ(Bytes(payload.begin(), payload.begin() + 5), (Bytes{0xCC, 0x01, 0x02, 0x00, 3}));

    peer.Silence();
    EXPECT_EQ(WriteFileEntry(kNewFileId, "B", 0, FileKind::Main), Status::NoAnswer);
}

TEST_F(FileCommandsTest, SavingAUserFileCarriesTheCustomMenus) {
    g_customKnobMap[1][1][0] = 5;
    g_customKnobMap[1][4][7] = 99;
    g_customFunctionMap[1][2][0] = 17;
    g_customKnobMap[2][1][0] = 66;  // another unit's menus stay home
    Answer(0x00);
    ASSERT_EQ(WriteFileEntry(0x0009, "Prefs", 30, FileKind::User), Status::Ok);
    const Bytes payload = Payloads().at(0);
    ASSERT_EQ(payload.size(), 230u);
    EXPECT_EQ(peer.Requests().at(0).at(1), 230);
    EXPECT_EQ(Bytes(payload.begin(), payload.begin() + 5), (Bytes{0xCD, 0x00, 0x09, 0x00, 30}));
    EXPECT_EQ(std::string(payload.begin() + 5, payload.begin() + 10), "Prefs");
    EXPECT_EQ(payload[10], 0);
    const size_t body = 5 + 24;
    EXPECT_EQ(payload[body + 0], 0);  // two zero bytes lead each block
    EXPECT_EQ(payload[body + 2], 5);
    EXPECT_EQ(payload[body + 3], kEmptyKnobParam);
    EXPECT_EQ(payload[body + 50 + 22], 17);
    EXPECT_EQ(payload[body + 150 + 2 + 7], 99);
    EXPECT_EQ(payload[body + 150 + 27], kEmptyFunctionOffset);
    EXPECT_EQ(payload[body + 200], 0);
}

TEST_F(FileCommandsTest, LoadingAUserFileRestoresTheCustomMenus) {
    Bytes data(200, 0);
    for (int k = 0; k < 4; ++k) {
        for (int i = 0; i < 8; ++i) {
            data[2 + 50 * k + i] = static_cast<uint8_t>(10 * k + i);
        }
        for (int i = 0; i < 6; ++i) {
            data[22 + 50 * k + i] = 0xFF;
        }
    }
    data[22 + 50] = 4;
    data[3] = 0xC8;  // knob bytes are kept as sent
    Answer(0x24, data);
    ASSERT_EQ(LoadFile(FileKind::User, 0x33), Status::Ok);
    EXPECT_EQ(Payloads().at(0), (Bytes{0x99, 0x33}));
    EXPECT_EQ(g_customKnobMap[1][1][0], 0);
    EXPECT_EQ(g_customKnobMap[1][1][1], 0xC8);
    EXPECT_EQ(g_customKnobMap[1][4][7], 37);
    EXPECT_EQ(g_customFunctionMap[1][1][0], 127);
    EXPECT_EQ(g_customFunctionMap[1][2][0], 4);
    EXPECT_EQ(g_customFunctionMap[1][4][5], 127);
    EXPECT_EQ(g_customKnobMap[1][0][0], kEmptyKnobParam);  // the list menu is not a custom menu
}

TEST_F(FileCommandsTest, LoadAnswersThatCannotRestoreLeaveTheMenusAlone) {
    Answer(0x24, Bytes(100, 0x01));
    EXPECT_EQ(LoadFile(FileKind::User, 1), Status::WrongLength);
    Answer(0x1D, Bytes(200, 0x01));  // the main directory's code
    EXPECT_EQ(LoadFile(FileKind::User, 1), Status::WrongCode);
    EXPECT_EQ(g_customKnobMap[1][1][0], kEmptyKnobParam);
    EXPECT_EQ(g_customFunctionMap[1][1][0], kEmptyFunctionOffset);

    Answer(0x1D);
    EXPECT_EQ(LoadFile(FileKind::Main, 0x05), Status::Ok);
    EXPECT_EQ(Payloads().back(), (Bytes{0x93, 0x05}));
    Answer(0x24);
    EXPECT_EQ(LoadFile(FileKind::Main, 0x05), Status::WrongCode);
}

TEST_F(FileCommandsTest, DeletingNamesTheWholeFileId) {
    Answer(0x1B);
    EXPECT_EQ(DeleteFile(FileKind::Main, 0x0A0B), Status::Ok);
    Answer(0x22);
    EXPECT_EQ(DeleteFile(FileKind::User, 0x0102), Status::Ok);
    Answer(0x1B);
    EXPECT_EQ(DeleteFile(FileKind::User, 0x0102), Status::WrongCode);
    EXPECT_EQ(Payloads(),
              (std::vector<Bytes>{{0xBE, 0x0A, 0x0B}, {0xBF, 0x01, 0x02}, {0xBF, 0x01, 0x02}}));
}

TEST_F(FileCommandsTest, FileDataFillsTheTransferBuffer) {
    Bytes file(600);
    for (size_t i = 0; i < file.size(); ++i) {
        file[i] = static_cast<uint8_t>(i * 7);
    }
    AnswerList(0x18, 0x19, file, 254);
    ASSERT_EQ(ReadFileData(0x21), Status::Ok);
    EXPECT_EQ(Payloads(),
              (std::vector<Bytes>{{0x92, 0x21}, {0x8E, 0x21}, {0x8E, 0x21}, {0x8E, 0x21}}));
    ASSERT_EQ(g_transferBuffer.length, 600);
    EXPECT_TRUE(std::equal(file.begin(), file.end(), g_transferBuffer.bytes.begin()));
}

TEST_F(FileCommandsTest, FileDataFailuresKeepWhatArrived) {
    g_transferBuffer.length = 55;
    Answer(0x01);
    EXPECT_EQ(ReadFileData(1), Status::WrongCode);
    EXPECT_EQ(g_transferBuffer.length, 55);  // untouched before the file started

    Answer(0x00);
    Answer(0x18, Bytes(100, 0xAA));
    Answer(0x44);
    EXPECT_EQ(ReadFileData(1), Status::WrongCode);
    EXPECT_EQ(g_transferBuffer.length, 100);

    AnswerList(0x18, 0x19, Bytes(3000, 0x5A), 250);
    EXPECT_EQ(ReadFileData(1), Status::WrongLength);
    EXPECT_EQ(g_transferBuffer.length, kTransferBufferSize);
}

TEST_F(FileCommandsTest, FileDataGoesToTheTargetIn250ByteChunks) {
    for (int i = 0; i < 600; ++i) {
        g_transferBuffer.bytes[i] = static_cast<uint8_t>(i);
    }
    g_transferBuffer.length = 600;
    g_transferBuffer.complete = true;
    peer.AnswerPacket(0x20, 0x40, Bytes(9, 0));
    peer.Silence();  // 91 FF is not answered
    Answer(0x1B);
    Answer(0x00);
    Answer(0x1B);
    const uint32_t start_ms = time.clock.TickCount();
    ASSERT_EQ(WriteFileData(0x20), Status::Ok);
    EXPECT_GE(time.clock.TickCount() - start_ms, 100u);

    const auto& requests = peer.Requests();
    ASSERT_EQ(requests.size(), 5u);
    for (const Bytes& request : requests) {
        EXPECT_EQ(request[0], 0x22);  // every request goes to the target, not the selected unit
    }
    EXPECT_EQ(Payloads()[0], Bytes{0xC0});
    EXPECT_EQ(Payloads()[1], (Bytes{0x91, 0xFF}));
    EXPECT_EQ(requests[2][1], 251);
    EXPECT_EQ(requests[3][1], 251);
    EXPECT_EQ(requests[4][1], 101);
    EXPECT_EQ(Payloads()[3][0], 0x8F);
    EXPECT_EQ(Payloads()[3][1], 250 % 256);
    EXPECT_EQ(Payloads()[4].back(), static_cast<uint8_t>(599));
}

TEST_F(FileCommandsTest, EmptyTransferSendsOneEmptyChunkAndWrongCodesStop) {
    g_transferBuffer.length = 0;
    g_transferBuffer.complete = true;
    peer.Silence();
    peer.Silence();
    Answer(0x1B);
    ASSERT_EQ(WriteFileData(0x30), Status::Ok);
    EXPECT_EQ(Payloads().back(), Bytes{0x8F});

    g_transferBuffer.length = 500;
    peer.Silence();
    peer.Silence();
    Answer(0x06);
    EXPECT_EQ(WriteFileData(0x30), Status::WrongCode);
    EXPECT_EQ(Payloads().size(), 6u);  // the second chunk is never sent
}

TEST_F(FileCommandsTest, PartOfAFileIsNeverSentOn) {
    Answer(0x00);
    Answer(0x18, Bytes(100, 0xAA));
    peer.Silence();
    EXPECT_EQ(ReadFileData(1), Status::NoAnswer);
    EXPECT_EQ(WriteFileData(0x20), Status::WrongLength);
    EXPECT_EQ(peer.Requests().size(), 3u);  // nothing went to unit 2

    AnswerList(0x18, 0x19, Bytes(10, 0x01));
    ASSERT_EQ(ReadFileData(1), Status::Ok);
    EXPECT_TRUE(g_transferBuffer.complete);
}

TEST_F(FileCommandsTest, FailedReadNeverSendsOnTheFileReadBefore) {
    const struct {
        const char* failure;
        std::vector<std::pair<uint8_t, Bytes>> answers;  // code, data; empty code list = silence
    } cases[] = {
        {"no answer", {}},
        {"first answer too long", {{0x00, {0x01}}}},
        {"first answer wrong code", {{0x18, {}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failure);
        AnswerList(0x18, 0x19, Bytes(40, 0x11));
        ASSERT_EQ(ReadFileData(1), Status::Ok);
        if (c.answers.empty()) {
            peer.Silence();
        }
        for (const auto& [code, data] : c.answers) {
            Answer(code, data);
        }
        EXPECT_NE(ReadFileData(2), Status::Ok);
        const size_t before = peer.Requests().size();
        EXPECT_EQ(WriteFileData(0x20), Status::WrongLength);
        EXPECT_EQ(peer.Requests().size(), before);  // file 1 does not reach unit 2 as file 2
        EXPECT_EQ(g_transferBuffer.length, 40);     // what the buffer held stays
    }
}

TEST_F(FileCommandsTest, FileSystemUpdateSkipsAbsentUnits) {
    peer.Silence();
    EXPECT_EQ(UpdateFileSystem(0x30), Status::Ok);
    EXPECT_EQ(Payloads(), (std::vector<Bytes>{{0xC0}}));

    peer.AnswerPacket(0x40, 0x40, Bytes(9, 0));
    peer.AnswerPacket(0x40, 0x1B, {}, 30000);  // the rebuild takes a while
    EXPECT_EQ(UpdateFileSystem(0x40), Status::Ok);
    EXPECT_EQ(Payloads().back(), Bytes{0xEA});
    EXPECT_EQ(AddressOf(2), 0x42);

    peer.AnswerPacket(0x40, 0x40, Bytes(9, 0));
    Answer(0x00);
    EXPECT_EQ(UpdateFileSystem(0x40), Status::WrongCode);
}

}  // namespace
