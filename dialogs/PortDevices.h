#pragma once

#include <string>

// What a COM number reaches on this machine, for the port setup: the device path when it is
// present, a note when it is not, other names (tcp://, inproc:) as they stand.
std::string PortDeviceText(int comNumber);
