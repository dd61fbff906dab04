#include "dialogs/PortDevices.h"

#include <QFileInfo>
#include <QString>

#include "platform/PortNames.h"

std::string PortDeviceText(int comNumber) {
    const std::string device = PortNames().DeviceForComNumber(comNumber);
    if (device.empty() || device.front() != '/') {
        return device;
    }
    if (QFileInfo::exists(QString::fromStdString(device))) {
        return device;
    }
    return device + " (not present)";
}
