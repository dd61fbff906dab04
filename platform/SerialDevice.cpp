#include "platform/SerialDevice.h"

#include "platform/InProcessLine.h"

std::unique_ptr<SerialDevice> OpenPosixDevice(const std::string& path, OpenError& error);
std::unique_ptr<SerialDevice> OpenTcpDevice(const std::string& address, OpenError& error);
std::unique_ptr<SerialDevice> OpenRfc2217Device(const std::string& address, OpenError& error);

std::unique_ptr<SerialDevice> OpenSerialDevice(const std::string& name, OpenError& error) {
    error = {};
    if (name.rfind("tcp://", 0) == 0) {
        return OpenTcpDevice(name.substr(6), error);
    }
    if (name.rfind("rfc2217://", 0) == 0) {
        return OpenRfc2217Device(name.substr(10), error);
    }
    if (name.rfind("inproc:", 0) == 0) {
        return OpenInProcessDevice(name.substr(7), error);
    }
    return OpenPosixDevice(name, error);
}
