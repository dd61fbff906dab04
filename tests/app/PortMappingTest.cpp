// The configuration's COMPORTS section pinning COM numbers to devices.
#include <gtest/gtest.h>

#include "app/ConfigStore.h"
#include "app/PortMapping.h"
#include "platform/PortNames.h"

namespace {

class PortMappingTest : public ::testing::Test {
  protected:
    void SetUp() override { names.SetDeviceFolder("/nonexistent-dev"); }

    void Pin(const std::string& key, const std::string& value) {
        store.StoreSetting("COMPORTS", key, value, ConfigStore::Create::Yes);
    }

    ConfigStore store;
    PortNameMap names;
};

TEST_F(PortMappingTest, PinnedNumbersReachTheirDevices) {
    Pin("COM3", "/dev/ttyACM0");
    Pin("COM16", " \t/dev/serial/by-id/adapter \t");
    EXPECT_EQ(ApplyPortSection(store, names), 2);
    EXPECT_EQ(names.Resolve("COM3"), "/dev/ttyACM0");
    EXPECT_EQ(names.DeviceForComNumber(16), "/dev/serial/by-id/adapter");
    // Numbers not pinned keep the default rule.
    EXPECT_EQ(names.Resolve("COM1"), "/nonexistent-dev/ttyS0");
}

TEST_F(PortMappingTest, KeysOutsideComOneToSixteenAreIgnored) {
    Pin("COM0", "/dev/a");
    Pin("COM17", "/dev/b");
    Pin("com2", "/dev/c");
    Pin("COM2 ", "/dev/d");
    Pin("COM4", "   ");
    Pin("", "/dev/e");
    EXPECT_EQ(ApplyPortSection(store, names), 0);
    EXPECT_EQ(names.Resolve("COM2"), "/nonexistent-dev/ttyS1");
    EXPECT_EQ(names.Resolve("COM4"), "/nonexistent-dev/ttyS3");
    EXPECT_EQ(names.Resolve("COM17"), "/nonexistent-dev/ttyS16");
}

TEST_F(PortMappingTest, ApplyingAgainReplacesEarlierPins) {
    Pin("COM5", "/dev/old");
    ApplyPortSection(store, names);
    ConfigStore without_section;
    EXPECT_EQ(ApplyPortSection(without_section, names), 0);
    EXPECT_EQ(names.Resolve("COM5"), "/nonexistent-dev/ttyS4");
}

TEST_F(PortMappingTest, OtherSectionsDoNotPin) {
    store.StoreSetting("ROUTER", "COM1", "/dev/x", ConfigStore::Create::Yes);
    EXPECT_EQ(ApplyPortSection(store, names), 0);
    EXPECT_EQ(names.Resolve("COM1"), "/nonexistent-dev/ttyS0");
}

TEST_F(PortMappingTest, ProgramWideConfigurationReachesProgramWidePortNames) {
    g_configuration.Clear();
    StoreSetting("COMPORTS", "COM7", "/dev/ttyACM7", ConfigStore::Create::Yes);
    EXPECT_EQ(ApplyConfiguredPorts(), 1);
    EXPECT_EQ(PortNames().DeviceForComNumber(7), "/dev/ttyACM7");
    g_configuration.Clear();
    ApplyConfiguredPorts();
    EXPECT_NE(PortNames().DeviceForComNumber(7), "/dev/ttyACM7");
}

}  // namespace
