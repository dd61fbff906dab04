#pragma once

#include <map>
#include <string>

// How the port names the program uses reach a device.
//
// COMn (n = 1..16) on Linux: /dev/ttyUSBk (k = n - 1) when that device exists, otherwise
// /dev/ttySk. So COM1 is the first USB serial adapter, or the first built-in UART on a
// machine without one. The configuration file may pin any COM number to a device in its
// section COMPORTS (COM3=/dev/ttyACM0); the program never writes that file.
// A name that is not COMn (a device path, tcp:// or rfc2217://host:port, inproc:NAME) is used
// as it is.
// A run override (command line) sends every COM number to one device for this run.
class PortNameMap {
  public:
    std::string Resolve(const std::string& name) const;
    // The device a COM number reaches, for the setup dialog.
    std::string DeviceForComNumber(int number) const;

    void SetOverride(int number, const std::string& device) { m_overrides[number] = device; }
    void ClearOverrides() { m_overrides.clear(); }
    void SetRunOverride(const std::string& device) { m_runOverride = device; }
    const std::string& RunOverride() const { return m_runOverride; }

    // Where the default rule looks for devices; tests point it at a folder of their own.
    void SetDeviceFolder(const std::string& folder) { m_deviceFolder = folder; }

  private:
    std::map<int, std::string> m_overrides;
    std::string m_runOverride;
    std::string m_deviceFolder = "/dev";
};

PortNameMap& PortNames();

// The COM number of a name of the form COMn (1..255), or 0.
int ComNumberOf(const std::string& name);
