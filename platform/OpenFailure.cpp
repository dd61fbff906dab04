#include "platform/OpenFailure.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace {

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

bool IsStableName(const std::string& device) {
    return device.find("/serial/by-id/") != std::string::npos ||
           device.find("/serial/by-path/") != std::string::npos;
}

std::string WithDetail(const std::string& sentence, const OpenError& error) {
    return error.detail.empty() ? sentence : sentence + " (" + error.detail + ")";
}

std::string GroupName(gid_t gid) {
    const group* entry = ::getgrgid(gid);
    return entry ? entry->gr_name : std::to_string(gid);
}

// Whether the group database lists this user in `gid`, as the primary group or a member.
bool UserListedInGroup(gid_t gid) {
    const passwd* user = ::getpwuid(::getuid());
    if (!user) {
        return false;
    }
    if (user->pw_gid == gid) {
        return true;
    }
    const group* entry = ::getgrgid(gid);
    for (char** member = entry ? entry->gr_mem : nullptr; member && *member; ++member) {
        if (std::string(*member) == user->pw_name) {
            return true;
        }
    }
    return false;
}

// Whether this process runs with `gid` among its groups.
bool ProcessHasGroup(gid_t gid) {
    if (::getegid() == gid) {
        return true;
    }
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(count > 0 ? static_cast<size_t>(count) : 0);
    const int got = ::getgroups(static_cast<int>(groups.size()), groups.data());
    return got > 0 && std::find(groups.begin(), groups.begin() + got, gid) != groups.begin() + got;
}

std::string NoPermission(const std::string& device, const OpenError& error) {
    struct stat info {};
    if (::stat(device.c_str(), &info) != 0) {
        return WithDetail("No permission to open " + device, error) + ".";
    }
    const std::string group = GroupName(info.st_gid);
    const std::string start =
        "No permission to open " + device + ": it belongs to the group '" + group + "'. ";
    if ((info.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP)) {
        return start +
               "That group may not read and write it either; ask the administrator to "
               "allow it (or to give you the port).";
    }
    if (UserListedInGroup(info.st_gid) && !ProcessHasGroup(info.st_gid)) {
        return start +
               "You have joined that group, but this login started before: log out "
               "and log in again.";
    }
    return start + "Add your user to it (sudo usermod -aG " + group +
           " $USER), then log out and log in again: the membership counts from the next "
           "login.";
}

std::string Busy(const std::string& device, const SystemFolders& folders) {
    const std::vector<DeviceHolder> holders = FindDeviceHolders(device, folders);
    if (holders.empty()) {
        return device + " is in use by another program; close it or choose another port.";
    }
    std::string names;
    for (const DeviceHolder& holder : holders) {
        if (!names.empty()) {
            names += ", ";
        }
        names += holder.pid == ::getpid()
                     ? "this program"
                     : holder.name + " (process " + std::to_string(holder.pid) + ")";
    }
    return device + " is in use by " + names + "; close it or choose another port.";
}

std::string ExistingPorts(const SystemFolders& folders) {
    const std::vector<SerialPortInfo> ports = ListSerialPorts(folders);
    if (ports.empty()) {
        return "This machine shows no serial ports; check the cable or adapter.";
    }
    // One a line: stable names are long.
    std::string list = "Serial ports on this machine:";
    for (const SerialPortInfo& port : ports) {
        list += "\n" + (port.StableName().empty() ? port.device
                                                  : port.StableName() + " (" + port.device + ")");
    }
    return list;
}

std::string NetworkFailure(const std::string& device, const OpenError& error) {
    switch (error.kind) {
        case OpenErrorKind::NotFound:
            return WithDetail("Nothing answers at " + device, error) +
                   ". Check the address and that the device server is switched on.";
        case OpenErrorKind::NotSerial:
            return device + ": " + error.detail;
        default:
            break;
    }
    return WithDetail("Cannot reach " + device, error) + ".";
}

}  // namespace

std::string ExplainOpenFailure(const std::string& device, const OpenError& error,
                               const SystemFolders& folders) {
    if (StartsWith(device, "tcp://") || StartsWith(device, "rfc2217://")) {
        return NetworkFailure(device, error);
    }
    // A simulated line has nothing on this machine to look at.
    const OpenErrorKind kind = StartsWith(device, "inproc:") ? OpenErrorKind::Other : error.kind;
    switch (kind) {
        case OpenErrorKind::PermissionDenied:
            return NoPermission(device, error);
        case OpenErrorKind::Busy:
            return Busy(device, folders);
        case OpenErrorKind::NotFound:
            // A stable name that leads nowhere is an adapter that is not plugged in.
            return "There is no device " + device +
                   (IsStableName(device) ? " (is the adapter plugged in?). " : ". ") +
                   ExistingPorts(folders);
        case OpenErrorKind::NotSerial:
            return device + " is not a serial port. " + ExistingPorts(folders);
        case OpenErrorKind::None:
        case OpenErrorKind::Other:
            break;
    }
    return error.detail.empty() ? std::string() : device + ": " + error.detail;
}
