// What the port error box says under its text: the fault in the words of this machine and
// what the user can do about it.
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>

#include "platform/OpenFailure.h"
#include "tests/support/FakeSystemTree.h"

namespace {

::testing::AssertionResult Contains(const std::string& text, const std::string& part) {
    if (text.find(part) != std::string::npos) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "\"" << part << "\" not in \"" << text << "\"";
}

TEST(OpenFailureTest, MissingDeviceListsThePortsThatExistStableNamesFirst) {
    FakeSystemTree tree;
    tree.AddPort("ttyS0", "serial8250", "4");
    tree.AddPort("ttyUSB1", "ftdi_sio");
    tree.AddStableLink("by-id", "usb-FTDI_A1B2-if00-port0", "ttyUSB1");
    const OpenError missing{OpenErrorKind::NotFound, "No such file or directory"};

    const std::string text = ExplainOpenFailure(tree.Device("ttyUSB0"), missing, tree.Folders());
    EXPECT_EQ(text, "There is no device " + tree.Device("ttyUSB0") +
                        ". Serial ports on this machine:\n" + tree.Folders().dev +
                        "/serial/by-id/usb-FTDI_A1B2-if00-port0 (" + tree.Device("ttyUSB1") +
                        ")\n" + tree.Device("ttyS0"));

    // A stable name that leads nowhere: the adapter it names is not plugged in.
    const std::string pinned = tree.Folders().dev + "/serial/by-id/usb-FTDI_OTHER-if00-port0";
    EXPECT_TRUE(Contains(ExplainOpenFailure(pinned, missing, tree.Folders()),
                         pinned + " (is the adapter plugged in?). Serial ports"));

    FakeSystemTree empty;
    EXPECT_TRUE(Contains(ExplainOpenFailure(empty.Device("ttyUSB0"), missing, empty.Folders()),
                         "This machine shows no serial ports"));
}

TEST(OpenFailureTest, BusyDeviceNamesTheProgramThatHoldsIt) {
    FakeSystemTree tree;
    tree.AddPort("ttyUSB0", "ftdi_sio");
    const OpenError busy{OpenErrorKind::Busy, "Device or resource busy"};
    EXPECT_EQ(
        ExplainOpenFailure(tree.Device("ttyUSB0"), busy, tree.Folders()),
        tree.Device("ttyUSB0") + " is in use by another program; close it or choose another port.");

    tree.AddProcess(4242, "minicom", {tree.Device("ttyUSB0")});
    tree.AddProcess(::getpid(), "vcp", {tree.Device("ttyUSB0")});
    const std::string text = ExplainOpenFailure(tree.Device("ttyUSB0"), busy, tree.Folders());
    EXPECT_TRUE(Contains(text, "in use by "));
    EXPECT_TRUE(Contains(text, "minicom (process 4242)"));
    EXPECT_TRUE(Contains(text, "this program"));
}

TEST(OpenFailureTest, NoPermissionNamesTheDevicesGroupAndTheNewLogin) {
    FakeSystemTree tree;
    tree.AddPort("ttyUSB0", "ftdi_sio");
    const std::string device = tree.Device("ttyUSB0");
    ASSERT_EQ(::chmod(device.c_str(), 0660), 0);
    struct stat info {};
    ASSERT_EQ(::stat(device.c_str(), &info), 0);
    const group* owner = ::getgrgid(info.st_gid);
    ASSERT_NE(owner, nullptr);
    const std::string name = owner->gr_name;
    const OpenError denied{OpenErrorKind::PermissionDenied, "Permission denied"};

    // This process runs in the file's group, so only the usual advice fits.
    const std::string text = ExplainOpenFailure(device, denied, tree.Folders());
    EXPECT_TRUE(Contains(text, "No permission to open " + device));
    EXPECT_TRUE(Contains(text, "belongs to the group '" + name + "'"));
    EXPECT_TRUE(Contains(text, "sudo usermod -aG " + name + " $USER"));
    EXPECT_TRUE(Contains(text, "log in again"));

    ASSERT_EQ(::chmod(device.c_str(), 0600), 0);
    EXPECT_TRUE(Contains(ExplainOpenFailure(device, denied, tree.Folders()),
                         "That group may not read and write it either"));
}

TEST(OpenFailureTest, DeviceServerIsAskedForByAddressNotByLocalPorts) {
    const OpenError refused{OpenErrorKind::NotFound, "Connection refused"};
    EXPECT_EQ(ExplainOpenFailure("rfc2217://192.0.2.7:4001", refused),
              "Nothing answers at rfc2217://192.0.2.7:4001 (Connection refused). Check the "
              "address and that the device server is switched on.");
}

}  // namespace
