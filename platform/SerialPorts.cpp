#include "platform/SerialPorts.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>

namespace fs = std::filesystem;

namespace {

// System files read here are one short line; more is not a value of theirs.
constexpr std::streamsize kMaxLineLength = 256;
// The serial core's port and controller devices between a tty and its hardware.
constexpr int kSerialCoreLevels = 2;

std::string FirstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    if (in) {
        char buffer[kMaxLineLength] = {};
        in.getline(buffer, kMaxLineLength);
        line = buffer;
    }
    return line;
}

// The path a link or a file name finally stands for; the path itself when it cannot be
// resolved.
std::string Resolved(const fs::path& path) {
    std::error_code error;
    const fs::path resolved = fs::weakly_canonical(path, error);
    return error ? path.string() : resolved.string();
}

// The entries of a folder in name order; none when it cannot be read.
std::vector<fs::path> ListFolder(const fs::path& folder) {
    std::vector<fs::path> entries;
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        entries.push_back(it->path());
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

int ParseCount(const std::string& text) {
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); })) {
        return -1;
    }
    return std::stoi(text);
}

// Links under dev/serial/<folder>, keyed by the device they lead to; the first name in
// directory order wins.
std::map<std::string, std::string> StableLinks(const SystemFolders& folders, const char* folder) {
    std::map<std::string, std::string> links;
    std::error_code error;
    for (const fs::path& name : ListFolder(fs::path(folders.dev) / "serial" / folder)) {
        if (fs::is_symlink(name, error)) {
            links.emplace(Resolved(name), name.string());
        }
    }
    return links;
}

// The driver of the hardware behind a tty's device. Newer kernels put a port and a
// controller device of the serial core between the two; their drivers say nothing.
std::string DriverOf(const fs::path& device) {
    std::error_code error;
    fs::path level = fs::canonical(device, error);
    for (int step = 0; !error && step < kSerialCoreLevels + 1; ++step) {
        const fs::path driver = fs::read_symlink(level / "driver", error);
        if (error) {
            break;
        }
        if (driver.string().find("/serial-base/") == std::string::npos) {
            return driver.filename().string();
        }
        level = level.parent_path();
    }
    return {};
}

std::string Lookup(const std::map<std::string, std::string>& links, const std::string& key) {
    const auto it = links.find(key);
    return it == links.end() ? std::string() : it->second;
}

// ttyUSB2 before ttyUSB10: the name's stem, then its trailing number.
bool NaturalLess(const std::string& a, const std::string& b) {
    auto split = [](const std::string& name) {
        size_t digits = name.size();
        while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1]))) {
            --digits;
        }
        const std::string number = name.substr(digits);
        return std::make_pair(name.substr(0, digits), number.size() > 9 ? -1 : ParseCount(number));
    };
    return split(a) < split(b);
}

}  // namespace

std::vector<SerialPortInfo> ListSerialPorts(const SystemFolders& folders) {
    const std::map<std::string, std::string> byId = StableLinks(folders, "by-id");
    const std::map<std::string, std::string> byPath = StableLinks(folders, "by-path");
    std::vector<SerialPortInfo> ports;
    std::error_code error;
    for (const fs::path& entry : ListFolder(fs::path(folders.sys) / "class" / "tty")) {
        const std::string name = entry.filename().string();
        const fs::path device = entry / "device";
        // Virtual consoles and pseudo-terminals have no device behind them.
        if (!fs::exists(device, error)) {
            continue;
        }
        // A built-in UART slot the kernel reserves without hardware reports type 0.
        if (FirstLine(entry / "type") == "0") {
            continue;
        }
        SerialPortInfo port;
        port.device = (fs::path(folders.dev) / name).string();
        const std::string resolved = Resolved(port.device);
        port.byId = Lookup(byId, resolved);
        port.byPath = Lookup(byPath, resolved);
        port.driver = DriverOf(device);
        port.latencyTimer_ms = ParseCount(FirstLine(fs::path(folders.sys) / "bus" / "usb-serial" /
                                                    "devices" / name / "latency_timer"));
        ports.push_back(port);
    }
    std::sort(ports.begin(), ports.end(), [](const SerialPortInfo& a, const SerialPortInfo& b) {
        if (a.byId.empty() != b.byId.empty()) {
            return !a.byId.empty();
        }
        return NaturalLess(fs::path(a.device).filename(), fs::path(b.device).filename());
    });
    return ports;
}

std::vector<DeviceHolder> FindDeviceHolders(const std::string& device,
                                            const SystemFolders& folders) {
    const std::string target = Resolved(device);
    std::vector<DeviceHolder> holders;
    for (const fs::path& process : ListFolder(folders.proc)) {
        const int pid = ParseCount(process.filename().string());
        if (pid <= 0) {
            continue;
        }
        // Other users' descriptors are closed to us: their folder lists as empty.
        for (const fs::path& fd : ListFolder(process / "fd")) {
            std::error_code error;
            const fs::path opened = fs::read_symlink(fd, error);
            if (!error && opened == target) {
                holders.push_back({pid, FirstLine(process / "comm")});
                break;
            }
        }
    }
    std::sort(holders.begin(), holders.end(),
              [](const DeviceHolder& a, const DeviceHolder& b) { return a.pid < b.pid; });
    return holders;
}
