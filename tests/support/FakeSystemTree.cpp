#include "tests/support/FakeSystemTree.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
}

}  // namespace

FakeSystemTree::FakeSystemTree() {
    const fs::path root = fs::canonical(m_dir.path().toStdString());
    m_folders = {(root / "dev").string(), (root / "sys").string(), (root / "proc").string()};
    for (const std::string& folder : {m_folders.dev, m_folders.sys, m_folders.proc}) {
        fs::create_directories(folder);
    }
}

std::string FakeSystemTree::Device(const std::string& name) const {
    return (fs::path(m_folders.dev) / name).string();
}

void FakeSystemTree::AddPort(const std::string& name, const std::string& driver,
                             const std::string& uartType, bool serialCore) {
    WriteFile(Device(name), "");
    const fs::path devices = fs::path(m_folders.sys) / "devices";
    fs::path hardware = devices / (name + "-hardware");
    fs::path device = hardware;
    if (serialCore) {
        device = hardware / "ctrl" / "port";
        fs::create_directories(device);
        fs::create_symlink(m_folders.sys + "/bus/serial-base/drivers/ctrl",
                           hardware / "ctrl" / "driver");
        fs::create_symlink(m_folders.sys + "/bus/serial-base/drivers/port", device / "driver");
    }
    fs::create_directories(device);
    fs::create_symlink(m_folders.sys + "/bus/drivers/" + driver, hardware / "driver");
    const fs::path tty = fs::path(m_folders.sys) / "class" / "tty" / name;
    fs::create_directories(tty);
    fs::create_symlink(device, tty / "device");
    if (!uartType.empty()) {
        WriteFile(tty / "type", uartType + "\n");
    }
}

void FakeSystemTree::AddConsole(const std::string& name) {
    WriteFile(Device(name), "");
    fs::create_directories(fs::path(m_folders.sys) / "class" / "tty" / name);
}

void FakeSystemTree::AddStableLink(const std::string& folder, const std::string& link,
                                   const std::string& name) {
    const fs::path links = fs::path(m_folders.dev) / "serial" / folder;
    fs::create_directories(links);
    fs::create_symlink("../../" + name, links / link);
}

void FakeSystemTree::SetLatencyText(const std::string& name, const std::string& text) {
    WriteFile(fs::path(m_folders.sys) / "bus" / "usb-serial" / "devices" / name / "latency_timer",
              text);
}

void FakeSystemTree::AddProcess(int pid, const std::string& comm,
                                const std::vector<std::string>& openFiles) {
    const fs::path process = fs::path(m_folders.proc) / std::to_string(pid);
    WriteFile(process / "comm", comm + "\n");
    fs::create_directories(process / "fd");
    int fd = 0;
    for (const std::string& file : openFiles) {
        fs::create_symlink(file, process / "fd" / std::to_string(fd++));
    }
}
