// A COM number pinned to a stable adapter name in the configuration file reaches the same
// adapter after it is plugged in elsewhere, and says so when it is not plugged in at all.
// Two vcp-sim processes on pseudo-terminals stand for two ports the adapter may land on.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "app/ConfigStore.h"
#include "app/PortMapping.h"
#include "link/SerialCom.h"
#include "link/UnitCommands.h"
#include "model/PanelModel.h"
#include "platform/Prompter.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/SimProcess.h"

namespace fs = std::filesystem;

namespace {

class StableComPinTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProgramState();
        SetPrompter(&prompter);
        ASSERT_TRUE(firstPort.Start("1:11"));
        ASSERT_TRUE(secondPort.Start("1:4"));
        byId = dir.filePath("serial/by-id").toStdString();
        fs::create_directories(byId);
        adapter = byId + "/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0";
        const std::string config = dir.filePath("QN2.ini").toStdString();
        std::ofstream(config) << "[COMPORTS]\r\nCOM4= " << adapter << "\r\n";
        ASSERT_EQ(LoadConfigurationFile(config, g_configuration), 1);
        ASSERT_EQ(ApplyConfiguredPorts(), 1);
    }
    void TearDown() override {
        g_link.Close();
        g_configuration.Clear();
        ApplyConfiguredPorts();
        SetPrompter(nullptr);
        ResetProgramState();
    }

    void PlugInto(const SimProcess& port) {
        fs::remove(adapter);
        fs::create_symlink(port.LinePath(), adapter);
    }

    // The model of unit 1 behind COM4, or -1 when the port or the unit does not answer.
    int ModelBehindCom4() {
        if (!ReopenPort(4)) {
            ReportPortFailure(g_link.LastFailure());
            return -1;
        }
        UnitStatus status{};
        return IdentifyUnit(0x10, status) == Status::Ok ? status[kStatusByteModel] : -1;
    }

    ScriptedPrompter prompter;
    SimProcess firstPort;
    SimProcess secondPort;
    QTemporaryDir dir;
    std::string byId;
    std::string adapter;
};

TEST_F(StableComPinTest, PinnedNumberFollowsTheAdapterAcrossPlugs) {
    PlugInto(firstPort);
    EXPECT_EQ(ModelBehindCom4(), 11);
    EXPECT_EQ(g_link.DeviceName(), adapter);
    PlugInto(secondPort);
    EXPECT_EQ(ModelBehindCom4(), 4);
    EXPECT_TRUE(prompter.boxes.empty());

    fs::remove(adapter);
    EXPECT_EQ(ModelBehindCom4(), -1);
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].text, "Can't open Com Port.  Please select another port.");
    EXPECT_EQ(prompter.boxes[0].detail.rfind(
                  "There is no device " + adapter + " (is the adapter plugged in?).", 0),
              0u)
        << prompter.boxes[0].detail;
}

}  // namespace
