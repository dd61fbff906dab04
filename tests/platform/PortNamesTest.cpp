// How COM numbers and other names reach a device.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <string>

#include "platform/PortNames.h"

namespace {

class PortNamesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(devices.isValid());
        folder = devices.path().toStdString();
        names.SetDeviceFolder(folder);
    }
    void AddDevice(const std::string& name) { std::ofstream(folder + "/" + name) << ""; }

    QTemporaryDir devices;
    std::string folder;
    PortNameMap names;
};

TEST_F(PortNamesTest, UsbAdapterWhenPresentElseBuiltInPort) {
    AddDevice("ttyUSB0");
    AddDevice("ttyUSB11");
    EXPECT_EQ(names.Resolve("COM1"), folder + "/ttyUSB0");
    EXPECT_EQ(names.Resolve("COM2"), folder + "/ttyS1");
    EXPECT_EQ(names.Resolve("COM12"), folder + "/ttyUSB11");
    EXPECT_EQ(names.Resolve("COM16"), folder + "/ttyS15");
    EXPECT_EQ(names.DeviceForComNumber(1), folder + "/ttyUSB0");
}

TEST_F(PortNamesTest, PinsAndTheRunOverride) {
    AddDevice("ttyUSB2");
    names.SetOverride(3, "/dev/ttyACM0");
    EXPECT_EQ(names.Resolve("COM3"), "/dev/ttyACM0");
    EXPECT_EQ(names.Resolve("COM4"), folder + "/ttyS3");
    names.ClearOverrides();
    EXPECT_EQ(names.Resolve("COM3"), folder + "/ttyUSB2");
    // One device for every COM number, pinned or not, for this run.
    names.SetOverride(3, "/dev/ttyACM0");
    names.SetRunOverride("tcp://127.0.0.1:5000");
    EXPECT_EQ(names.Resolve("COM3"), "tcp://127.0.0.1:5000");
    EXPECT_EQ(names.Resolve("COM9"), "tcp://127.0.0.1:5000");
    EXPECT_EQ(names.RunOverride(), "tcp://127.0.0.1:5000");
}

TEST_F(PortNamesTest, OtherNamesPassUnchanged) {
    names.SetRunOverride("inproc:ignored");
    for (const char* name : {"/dev/pts/3", "tcp://host:1", "inproc:sim", "COM", "com1", "COM1a",
                             "COM0", "COM256", "XCOM1"}) {
        EXPECT_EQ(names.Resolve(name), name);
    }
}

TEST(ComNumberOfTest, OnlyComFollowedByANumberFromOneTo255) {
    EXPECT_EQ(ComNumberOf("COM1"), 1);
    EXPECT_EQ(ComNumberOf("COM16"), 16);
    EXPECT_EQ(ComNumberOf("COM255"), 255);
    EXPECT_EQ(ComNumberOf("COM007"), 7);
    EXPECT_EQ(ComNumberOf("COM0"), 0);
    EXPECT_EQ(ComNumberOf("COM256"), 0);
    EXPECT_EQ(ComNumberOf("COM1000"), 0);
    EXPECT_EQ(ComNumberOf("COM-1"), 0);
    EXPECT_EQ(ComNumberOf("COM 1"), 0);
    EXPECT_EQ(ComNumberOf("com1"), 0);
    EXPECT_EQ(ComNumberOf(""), 0);
}

}  // namespace
