// vcp-probe ports on a fake machine tree: what an engineer reads to pick a device or a pin.
#include <gtest/gtest.h>

#include <QProcess>
#include <filesystem>

#include "tests/support/FakeSystemTree.h"
#include "tests/support/TestPaths.h"

namespace {

QByteArray RunPorts(const std::string& root, int& exitCode) {
    QProcess probe;
    probe.start(QString::fromStdString(BuildProgram("vcp-probe")),
                {"--root", QString::fromStdString(root), "ports"});
    probe.waitForFinished(30000);
    exitCode = probe.exitCode();
    return probe.readAllStandardOutput();
}

TEST(ProbePortsTest, ListsDeviceStableNameDriverAndLatencyInColumns) {
    FakeSystemTree tree;
    const std::string root = std::filesystem::path(tree.Folders().dev).parent_path().string();
    int exitCode = -1;
    EXPECT_EQ(RunPorts(root, exitCode), "no serial ports on this machine\n");
    EXPECT_EQ(exitCode, 0);

    tree.AddPort("ttyUSB0", "ftdi_sio");
    tree.AddPort("ttyS0", "serial8250", "4", true);
    tree.AddStableLink("by-id", "usb-FTDI_A1B2-if00-port0", "ttyUSB0");
    tree.SetLatencyText("ttyUSB0", "1\n");
    const QList<QByteArray> lines = RunPorts(root, exitCode).split('\n');
    EXPECT_EQ(exitCode, 0);
    ASSERT_EQ(lines.size(), 4);  // header, two ports, the empty rest after the last line feed
    const QByteArray usb = QByteArray::fromStdString(tree.Device("ttyUSB0"));
    const QByteArray serial = QByteArray::fromStdString(tree.Device("ttyS0"));
    const QByteArray byId =
        QByteArray::fromStdString(tree.Folders().dev + "/serial/by-id/usb-FTDI_A1B2-if00-port0");
    EXPECT_EQ(lines[0].simplified(), "DEVICE STABLE NAME DRIVER LATENCY");
    EXPECT_EQ(lines[1].simplified(), usb + " " + byId + " ftdi_sio 1 ms");
    EXPECT_EQ(lines[2].simplified(), serial + " - serial8250 -");
    // Columns line up under their headings.
    EXPECT_EQ(lines[1].indexOf(byId), lines[0].indexOf("STABLE NAME"));
    EXPECT_EQ(lines[2].indexOf("serial8250"), lines[0].indexOf("DRIVER"));
}

}  // namespace
