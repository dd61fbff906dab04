#pragma once

#include <QTemporaryDir>
#include <string>
#include <vector>

#include "platform/SerialPorts.h"

// A machine's /dev, /sys and /proc as real folders in a temporary directory, laid out as
// Linux shows serial ports, their drivers and the files each process holds open.
class FakeSystemTree {
  public:
    FakeSystemTree();

    // The folders to hand to the code under test.
    const SystemFolders& Folders() const { return m_folders; }
    // The device file of tty `name` (created by AddPort).
    std::string Device(const std::string& name) const;

    // A tty with a device behind it; `uartType` is written to its type file when not empty.
    // With `serialCore` the device is a port of the serial core, below a controller, below
    // the hardware that `driver` drives, as newer kernels show a built-in UART.
    void AddPort(const std::string& name, const std::string& driver,
                 const std::string& uartType = {}, bool serialCore = false);
    // A tty without a device (a virtual console).
    void AddConsole(const std::string& name);
    // A stable link dev/serial/<folder>/<link> to tty `name`, relative as udev makes them.
    void AddStableLink(const std::string& folder, const std::string& link, const std::string& name);
    // The usb-serial latency_timer file of tty `name` with `text` in it.
    void SetLatencyText(const std::string& name, const std::string& text);
    // A process with command name `comm` holding each of `openFiles` open.
    void AddProcess(int pid, const std::string& comm, const std::vector<std::string>& openFiles);

  private:
    QTemporaryDir m_dir;
    SystemFolders m_folders;
};
