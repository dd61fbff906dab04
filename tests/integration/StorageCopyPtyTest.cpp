// A file copied from unit 1 to unit 2 of vcp-sim over a pseudo-terminal, in real time.
#include <gtest/gtest.h>
#include "tests/support/SimProcess.h"

#include <QProcess>
#include <QTemporaryDir>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "link/FileCommands.h"
#include "link/ParameterCommands.h"
#include "link/SerialCom.h"
#include "link/UnitCommands.h"
#include "model/PanelModel.h"
#include "platform/PortNames.h"
#include "tests/support/StatusPrinter.h"

namespace {

constexpr uint8_t kUnit1 = 0x10;
constexpr uint8_t kUnit2 = 0x20;

class StorageCopyPtyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProgramState();
        ResetStorageTables();
        ASSERT_TRUE(sim.Start("1:11,2:11"));
        PortNames().SetRunOverride(sim.LinePath());
        g_panelModel.m_portNumber = 1;
        ASSERT_TRUE(ReopenPort(1));
    }
    void TearDown() override {
        g_link.Close();
        PortNames().SetRunOverride("");
        sim.Stop();
        ResetStorageTables();
        ResetProgramState();
    }

    // Lists the selected unit's main directory and returns the id of `name`, or -1.
    static int FileId(const std::string& name) {
        EXPECT_EQ(ReadFileList(FileKind::Main), Status::Ok);
        const FileDirectory& directory = DirectoryOf(FileKind::Main);
        for (int i = 0; i < directory.count; ++i) {
            if (directory.entries[i].Name() == name) {
                return directory.entries[i].fileId;
            }
        }
        return -1;
    }
    static std::vector<uint8_t> TransferBytes() {
        return {g_transferBuffer.bytes.begin(),
                g_transferBuffer.bytes.begin() + g_transferBuffer.length};
    }

    SimProcess sim;
};

TEST_F(StorageCopyPtyTest, FileArrivesIntact) {
    g_currentUnitAddress = kUnit1;
    ASSERT_EQ(IdentifySelectedUnit(), Status::Ok);
    ASSERT_EQ(SetParameterWord(0, 777), Status::Ok);
    ASSERT_EQ(WriteFileEntry(kNewFileId, "Over The Wire", 3, FileKind::Main), Status::Ok);
    const int source = FileId("Over The Wire");
    ASSERT_GE(source, 0);
    ASSERT_EQ(ReadFileData(static_cast<uint8_t>(source)), Status::Ok);
    const std::vector<uint8_t> sent = TransferBytes();
    ASSERT_GT(sent.size(), static_cast<size_t>(2 * kFileChunkSize));
    ASSERT_EQ(WriteFileData(kUnit2), Status::Ok);

    g_currentUnitAddress = kUnit2;
    const int copy = FileId("Over The Wire");
    ASSERT_GE(copy, 0);
    g_transferBuffer = TransferBuffer{};
    ASSERT_EQ(ReadFileData(static_cast<uint8_t>(copy)), Status::Ok);
    EXPECT_EQ(TransferBytes(), sent);
    ASSERT_EQ(LoadFile(FileKind::Main, static_cast<uint8_t>(copy)), Status::Ok);
    ASSERT_EQ(ReadParameterValues(), Status::Ok);
    EXPECT_EQ(g_paramTable[0].value, 777);
}

}  // namespace
