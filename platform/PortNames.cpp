#include "platform/PortNames.h"

#include <sys/stat.h>

#include <cctype>

PortNameMap& PortNames() {
    static PortNameMap map;
    return map;
}

int ComNumberOf(const std::string& name) {
    if (name.size() < 4 || name.size() > 6 || name.compare(0, 3, "COM") != 0) {
        return 0;
    }
    int number = 0;
    for (size_t i = 3; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) {
            return 0;
        }
        number = number * 10 + (name[i] - '0');
    }
    return number >= 1 && number <= 255 ? number : 0;
}

std::string PortNameMap::DeviceForComNumber(int number) const {
    if (!m_runOverride.empty()) {
        return m_runOverride;
    }
    auto it = m_overrides.find(number);
    if (it != m_overrides.end()) {
        return it->second;
    }
    const std::string index = std::to_string(number - 1);
    const std::string usb = m_deviceFolder + "/ttyUSB" + index;
    struct stat info {};
    if (::stat(usb.c_str(), &info) == 0) {
        return usb;
    }
    return m_deviceFolder + "/ttyS" + index;
}

std::string PortNameMap::Resolve(const std::string& name) const {
    const int number = ComNumberOf(name);
    if (number == 0) {
        return name;
    }
    return DeviceForComNumber(number);
}
