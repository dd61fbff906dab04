#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "sim/models/ModelCatalog.h"
#include "sim/unit/SimUnit.h"
#include "sim/unit/UnitStorage.h"

namespace {

constexpr uint8_t kMore = 0x43;
constexpr uint8_t kLast = 0x44;

std::vector<uint8_t> Bytes(size_t count) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<uint8_t>(i);
    }
    return bytes;
}

TEST(StorageListSender, SendsPartsThenTheLastCode) {
    ListSender sender;
    sender.Prepare(Bytes(500));
    std::vector<uint8_t> received;
    std::vector<uint8_t> codes;
    for (int i = 0; i < 3; ++i) {
        const std::optional<SimAnswer> part = sender.Next(kMore, kLast, false, std::nullopt);
        ASSERT_TRUE(part);
        codes.push_back(part->code);
        received.insert(received.end(), part->data.begin(), part->data.end());
    }
    EXPECT_EQ(codes, (std::vector<uint8_t>{kMore, kMore, kLast}));
    EXPECT_EQ(received, Bytes(500));

    sender.Prepare({});
    EXPECT_EQ(sender.Next(kMore, kLast, false, std::nullopt)->code, kLast);
}

TEST(StorageListSender, OversizedListsNeverEndAndHungOnesFallSilent) {
    ListSender sender;
    sender.Prepare(Bytes(30));
    for (int i = 0; i < 5; ++i) {
        const std::optional<SimAnswer> part = sender.Next(kMore, kLast, true, std::nullopt);
        ASSERT_TRUE(part);
        EXPECT_EQ(part->code, kMore);
        EXPECT_EQ(part->data.size(), 30u);  // starts over each time
    }
    sender.Prepare(Bytes(1000));
    EXPECT_TRUE(sender.Next(kMore, kLast, false, 2u));
    EXPECT_TRUE(sender.Next(kMore, kLast, false, 2u));
    EXPECT_FALSE(sender.Next(kMore, kLast, false, 2u));
}

class StorageUnitTest : public ::testing::Test {
  protected:
    SimUnit unit{1, *FindModel(11)};
    UnitStorage& storage = unit.Storage();
};

TEST_F(StorageUnitTest, FileDataCarriesNameContextAndEveryValue) {
    StoredFile file;
    file.name = "Signed";
    file.context = 41;
    file.values[0] = -300;
    file.values[127] = 32767;
    file.values[128] = 255;
    file.values[255] = 7;
    const std::vector<uint8_t> data = UnitStorage::EncodeFile(file);
    const std::optional<StoredFile> back = UnitStorage::DecodeFile(data);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->name, "Signed");
    EXPECT_EQ(back->context, 41);
    EXPECT_EQ(back->values, file.values);

    std::vector<uint8_t> damaged = data;
    damaged[0] ^= 1;
    EXPECT_FALSE(UnitStorage::DecodeFile(damaged));
    EXPECT_FALSE(UnitStorage::DecodeFile({data.begin(), data.end() - 1}));
}

TEST_F(StorageUnitTest, ReceivedFileIsStoredOnlyWhenWholeAndSound) {
    StoredFile file;
    file.name = "Arrived";
    const std::vector<uint8_t> data = UnitStorage::EncodeFile(file);
    EXPECT_FALSE(storage.ReceiveChunk(data));  // no transfer started

    storage.BeginReceive();
    EXPECT_TRUE(storage.ReceiveChunk({data.begin(), data.begin() + 250}));
    EXPECT_EQ(storage.Directory(SimDirectory::Main).size(), 3u);
    EXPECT_TRUE(storage.ReceiveChunk({data.begin() + 250, data.end()}));
    EXPECT_FALSE(storage.Receiving());
    ASSERT_EQ(storage.Directory(SimDirectory::Main).size(), 4u);
    EXPECT_EQ(storage.Directory(SimDirectory::Main).back().name, "Arrived");
    EXPECT_EQ(storage.Directory(SimDirectory::Main).back().id, 4);

    storage.BeginReceive();
    EXPECT_FALSE(storage.ReceiveChunk({0x00, 0x01, 0x02, 0x03}));
    storage.BeginReceive();
    std::vector<uint8_t> longer = data;
    longer.push_back(0);
    EXPECT_FALSE(storage.ReceiveChunk(longer));
    EXPECT_EQ(storage.Directory(SimDirectory::Main).size(), 4u);
}

TEST_F(StorageUnitTest, PowerCycleDropsACopyInProgressButKeepsTheFiles) {
    const std::vector<uint8_t> data = UnitStorage::EncodeFile(StoredFile{});
    storage.BeginReceive();
    ASSERT_TRUE(storage.ReceiveChunk({data.begin(), data.begin() + 250}));
    unit.SetPower(false);
    unit.SetPower(true);
    EXPECT_FALSE(storage.Receiving());
    EXPECT_FALSE(storage.ReceiveChunk({data.begin() + 250, data.end()}));
    EXPECT_EQ(storage.Directory(SimDirectory::Main).size(), 3u);
}

TEST_F(StorageUnitTest, DirectoriesReplaceByIdOrNameAndHoldAtMost99) {
    StoredFile file;
    file.id = 0xFFFF;
    file.name = "News Open";  // a new save under a name that exists replaces that file
    file.context = 9;
    ASSERT_TRUE(storage.Store(SimDirectory::Main, file));
    EXPECT_EQ(storage.Directory(SimDirectory::Main).size(), 3u);
    EXPECT_EQ(storage.FindById(SimDirectory::Main, 2)->context, 9);

    for (int i = 0; i < kSimDirectorySize; ++i) {
        file.name = "File " + std::to_string(i);
        storage.Store(SimDirectory::Main, file);
    }
    EXPECT_EQ(storage.Directory(SimDirectory::Main).size(), static_cast<size_t>(kSimDirectorySize));
    file.name = "One too many";
    EXPECT_FALSE(storage.Store(SimDirectory::Main, file));
    EXPECT_EQ(storage.DirectoryList(SimDirectory::Main).size(), 28u * kSimDirectorySize);
}

TEST(StorageFirstFiles, HoldTheUnitsValuesAndMenuOfTheirFirstUse) {
    SimUnit unit{1, *FindModel(11)};
    unit.SetValue(114, 25);
    unit.ShowMenu(7);
    UnitStorage& storage = unit.Storage();
    unit.SetValue(114, 30);  // later changes stay out of the stored files
    for (SimDirectory directory : {SimDirectory::Main, SimDirectory::User}) {
        const StoredFile& file = storage.Directory(directory).front();
        EXPECT_EQ(file.values[114], 25);
        EXPECT_EQ(file.values[130], unit.Value(130));
        EXPECT_EQ(file.context, 7);
    }
}

TEST(StorageClearFiles, ClearingTheFilesEmptiesBothDirectoriesOnceDone) {
    ScopedVirtualClock time(1000);
    SimUnit unit{1, *FindModel(11)};
    UnitStorage& storage = unit.Storage();
    unit.SetValue(163, 1);  // "Clear Files"
    ASSERT_TRUE(unit.Flags() & kStatusBusy);
    EXPECT_EQ(storage.Directory(SimDirectory::Main).size(), 3u);
    time.clock.Advance(kClearFilesBusy_ms);
    unit.BeginRequest(0xC0);
    EXPECT_FALSE(unit.Flags() & kStatusBusy);
    EXPECT_TRUE(storage.Directory(SimDirectory::Main).empty());
    EXPECT_TRUE(storage.Directory(SimDirectory::User).empty());
}

TEST(StorageClearFiles, RebuildKeepsFilesAndValues) {
    ScopedVirtualClock time(1000);
    SimUnit unit{1, *FindModel(11)};
    unit.SetValue(0, 900);
    unit.SetBusyKeepingValues(500);
    time.clock.Advance(500);
    unit.BeginRequest(0xC0);
    EXPECT_FALSE(unit.Flags() & kStatusBusy);
    EXPECT_EQ(unit.Value(0), 900);
    EXPECT_EQ(unit.Storage().Directory(SimDirectory::Main).size(), 3u);
}

}  // namespace
