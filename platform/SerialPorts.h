#pragma once

#include <string>
#include <vector>

// Where the system shows its devices, processes and drivers. Tests point these at a tree of
// their own.
struct SystemFolders {
    std::string dev = "/dev";
    std::string sys = "/sys";
    std::string proc = "/proc";
};

// One serial port of this machine as the system describes it.
struct SerialPortInfo {
    std::string device;        // /dev/ttyUSB0
    std::string byId;          // a link under /dev/serial/by-id to it; empty when none
    std::string byPath;        // a link under /dev/serial/by-path to it; empty when none
    std::string driver;        // ftdi_sio, cdc_acm, serial8250...; empty when unknown
    int latencyTimer_ms = -1;  // a USB adapter's latency timer, when the system shows it

    // The name that stays the same when adapters are plugged in another order.
    const std::string& StableName() const { return byId.empty() ? byPath : byId; }
};

// The serial ports of this machine: every tty with a device behind it, less the built-in
// UART slots that have no hardware (type 0). Ports with a by-id name come first, each group
// in natural order of the device name (ttyUSB2 before ttyUSB10).
std::vector<SerialPortInfo> ListSerialPorts(const SystemFolders& folders = {});

// A process that holds a device open.
struct DeviceHolder {
    int pid = 0;
    std::string name;  // the process's command name
};

// The processes whose open files include `device` (after following its links), as far as
// this user may look into them.
std::vector<DeviceHolder> FindDeviceHolders(const std::string& device,
                                            const SystemFolders& folders = {});
