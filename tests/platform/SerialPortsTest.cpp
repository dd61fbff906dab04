// The serial ports of a machine and the processes that hold them, read from a fake /dev,
// /sys and /proc tree, and the same reading on this machine's own /proc.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/SerialPorts.h"
#include "tests/support/FakeSystemTree.h"

namespace {

TEST(SerialPortsTest, PortsComeWithStableNamesDriversAndLatencyStableNamesFirst) {
    FakeSystemTree tree;
    tree.AddPort("ttyUSB10", "ftdi_sio");
    tree.AddPort("ttyUSB2", "cp210x");
    tree.AddPort("ttyUSB0", "ftdi_sio");
    tree.AddPort("ttyACM0", "cdc_acm");
    tree.AddPort("ttyS0", "serial8250", "4", true);
    tree.AddPort("ttyS1", "serial8250", "0", true);  // a UART slot without hardware
    tree.AddConsole("tty1");
    tree.AddStableLink("by-id", "usb-FTDI_FT232R_A1B2-if00-port0", "ttyUSB0");
    tree.AddStableLink("by-path", "pci-0000:00:14.0-usb-0:2:1.0-port0", "ttyUSB0");
    tree.AddStableLink("by-id", "usb-Silicon_Labs_CP2102_0001-if00-port0", "ttyUSB2");
    tree.AddStableLink("by-path", "pci-0000:00:14.0-usb-0:3:1.0", "ttyACM0");
    tree.SetLatencyText("ttyUSB0", "16\n");
    tree.SetLatencyText("ttyUSB10", "sixteen\n");  // not a number: not shown

    const std::vector<SerialPortInfo> ports = ListSerialPorts(tree.Folders());
    std::vector<std::string> devices;
    for (const SerialPortInfo& port : ports) {
        devices.push_back(port.device);
    }
    EXPECT_EQ(devices, (std::vector<std::string>{tree.Device("ttyUSB0"), tree.Device("ttyUSB2"),
                                                 tree.Device("ttyACM0"), tree.Device("ttyS0"),
                                                 tree.Device("ttyUSB10")}));
    ASSERT_EQ(ports.size(), 5u);
    const std::string serial = tree.Folders().dev + "/serial/";
    EXPECT_EQ(ports[0].byId, serial + "by-id/usb-FTDI_FT232R_A1B2-if00-port0");
    EXPECT_EQ(ports[0].byPath, serial + "by-path/pci-0000:00:14.0-usb-0:2:1.0-port0");
    EXPECT_EQ(ports[0].StableName(), ports[0].byId);
    EXPECT_EQ(ports[0].driver, "ftdi_sio");
    EXPECT_EQ(ports[0].latencyTimer_ms, 16);
    EXPECT_EQ(ports[1].driver, "cp210x");
    EXPECT_EQ(ports[1].latencyTimer_ms, -1);
    EXPECT_EQ(ports[2].StableName(), serial + "by-path/pci-0000:00:14.0-usb-0:3:1.0");
    EXPECT_EQ(ports[3].driver, "serial8250");
    EXPECT_EQ(ports[3].StableName(), "");
    EXPECT_EQ(ports[4].latencyTimer_ms, -1);
}

TEST(SerialPortsTest, MachineWithoutTheFoldersHasNoPortsAndNoHolders) {
    const SystemFolders nowhere{"/nonexistent/dev", "/nonexistent/sys", "/nonexistent/proc"};
    EXPECT_TRUE(ListSerialPorts(nowhere).empty());
    EXPECT_TRUE(FindDeviceHolders("/dev/ttyUSB0", nowhere).empty());
}

TEST(SerialPortsTest, HoldersAreFoundThroughTheDeviceOrItsStableLink) {
    FakeSystemTree tree;
    tree.AddPort("ttyUSB0", "ftdi_sio");
    tree.AddPort("ttyUSB1", "ftdi_sio");
    tree.AddStableLink("by-id", "usb-adapter", "ttyUSB0");
    tree.AddProcess(4242, "minicom", {"/dev/null", tree.Device("ttyUSB0")});
    tree.AddProcess(77, "screen", {tree.Device("ttyUSB1")});
    tree.AddProcess(31, "picocom", {tree.Device("ttyUSB0")});

    for (const std::string& name :
         {tree.Device("ttyUSB0"), tree.Folders().dev + "/serial/by-id/usb-adapter"}) {
        SCOPED_TRACE(name);
        const std::vector<DeviceHolder> holders = FindDeviceHolders(name, tree.Folders());
        ASSERT_EQ(holders.size(), 2u);
        EXPECT_EQ(holders[0].pid, 31);
        EXPECT_EQ(holders[0].name, "picocom");
        EXPECT_EQ(holders[1].pid, 4242);
        EXPECT_EQ(holders[1].name, "minicom");
    }
}

TEST(SerialPortsTest, ThisProcessIsFoundHoldingATerminalInTheRealProc) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const std::string terminal = ::ptsname(master);
    const int held = ::open(terminal.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(held, 0);
    const std::vector<DeviceHolder> holders = FindDeviceHolders(terminal);
    ::close(held);
    ::close(master);
    ASSERT_EQ(holders.size(), 1u);
    EXPECT_EQ(holders[0].pid, ::getpid());
}

}  // namespace
