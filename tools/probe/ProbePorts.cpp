// ports: the serial ports of this machine, for choosing a device or a COMPORTS pin.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/SerialPorts.h"
#include "tools/probe/ProbeCommand.h"

namespace {

using Row = std::vector<std::string>;

std::string OrDash(const std::string& text) {
    return text.empty() ? "-" : text;
}

void PrintAligned(const std::vector<Row>& rows) {
    std::vector<size_t> widths(rows.front().size(), 0);
    for (const Row& row : rows) {
        for (size_t column = 0; column < row.size(); ++column) {
            widths[column] = std::max(widths[column], row[column].size());
        }
    }
    for (const Row& row : rows) {
        std::string line;
        for (size_t column = 0; column < row.size(); ++column) {
            line += row[column];
            if (column + 1 < row.size()) {
                line += std::string(widths[column] - row[column].size() + 2, ' ');
            }
        }
        std::printf("%s\n", line.c_str());
    }
}

}  // namespace

int PrintSerialPorts(const SystemFolders& folders) {
    const std::vector<SerialPortInfo> ports = ListSerialPorts(folders);
    if (ports.empty()) {
        std::printf("no serial ports on this machine\n");
        return 0;
    }
    std::vector<Row> rows = {{"DEVICE", "STABLE NAME", "DRIVER", "LATENCY"}};
    for (const SerialPortInfo& port : ports) {
        const std::string latency =
            port.latencyTimer_ms < 0 ? "" : std::to_string(port.latencyTimer_ms) + " ms";
        rows.push_back(
            {port.device, OrDash(port.StableName()), OrDash(port.driver), OrDash(latency)});
    }
    PrintAligned(rows);
    return 0;
}
