#pragma once

#include <string>

#include "platform/SerialDevice.h"
#include "platform/SerialPorts.h"

// What stopped `device` from opening and what the user can do about it, in a few sentences
// for the detail of the port error box: the group to join when permission is missing, the
// program that holds a busy port, the serial ports that do exist when the device is missing
// (stable names first), the address to check for a device server.
std::string ExplainOpenFailure(const std::string& device, const OpenError& error,
                               const SystemFolders& folders = {});
