#include "sim/line/LineEndpoints.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/Clock.h"

namespace {

std::string Errno(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

void CloseFd(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

bool MakeRaw(int fd, bool serialLine) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        return false;
    }
    ::cfmakeraw(&tio);
    if (serialLine) {
        tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | CRTSCTS);
        tio.c_cflag |= CS8 | CREAD | CLOCAL | PARENB | PARODD;
        tio.c_iflag |= INPCK | PARMRK;
        tio.c_iflag &= ~static_cast<tcflag_t>(IGNPAR | ISTRIP | IGNBRK | BRKINT);
        ::cfsetispeed(&tio, B115200);
        ::cfsetospeed(&tio, B115200);
    }
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    return ::tcsetattr(fd, TCSANOW, &tio) == 0;
}

}  // namespace

std::unique_ptr<PtyEndpoint> PtyEndpoint::Create(const std::string& linkPath, std::string& error) {
    std::unique_ptr<PtyEndpoint> pty(new PtyEndpoint);
    pty->m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (pty->m_master < 0 || ::grantpt(pty->m_master) != 0 || ::unlockpt(pty->m_master) != 0) {
        error = Errno("cannot create a pseudo-terminal");
        return nullptr;
    }
    const char* slave = ::ptsname(pty->m_master);
    if (!slave) {
        error = Errno("cannot name the pseudo-terminal");
        return nullptr;
    }
    pty->m_slavePath = slave;
    pty->m_slave = ::open(slave, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (pty->m_slave < 0 || !MakeRaw(pty->m_slave, false)) {
        error = Errno("cannot open " + pty->m_slavePath);
        return nullptr;
    }
    // Replace a stale link from an earlier run, but never a file that is not a link.
    struct stat existing {};
    if (::lstat(linkPath.c_str(), &existing) == 0) {
        if (!S_ISLNK(existing.st_mode)) {
            error = linkPath + " exists and is not a symbolic link";
            return nullptr;
        }
        ::unlink(linkPath.c_str());
    }
    if (::symlink(pty->m_slavePath.c_str(), linkPath.c_str()) != 0) {
        error = Errno("cannot create the link " + linkPath);
        return nullptr;
    }
    pty->m_linkPath = linkPath;
    return pty;
}

PtyEndpoint::~PtyEndpoint() {
    if (!m_linkPath.empty()) {
        ::unlink(m_linkPath.c_str());
    }
    CloseFd(m_slave);
    CloseFd(m_master);
}

std::unique_ptr<TcpEndpoint> TcpEndpoint::Create(int port, std::string& error) {
    std::unique_ptr<TcpEndpoint> tcp(new TcpEndpoint);
    tcp->m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (tcp->m_listener < 0) {
        error = Errno("cannot create a socket");
        return nullptr;
    }
    const int yes = 1;
    ::setsockopt(tcp->m_listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (::bind(tcp->m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(tcp->m_listener, 1) != 0) {
        error = Errno("cannot listen on port " + std::to_string(port));
        return nullptr;
    }
    socklen_t length = sizeof address;
    ::getsockname(tcp->m_listener, reinterpret_cast<sockaddr*>(&address), &length);
    tcp->m_port = ntohs(address.sin_port);
    return tcp;
}

TcpEndpoint::~TcpEndpoint() {
    CloseFd(m_client);
    CloseFd(m_listener);
}

void TcpEndpoint::OnWatchReadable() {
    const int client = ::accept4(m_listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (client < 0) {
        return;
    }
    CloseFd(m_client);
    const int yes = 1;
    ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    m_client = client;
}

void TcpEndpoint::OnDataClosed() {
    CloseFd(m_client);
}

std::unique_ptr<DeviceEndpoint> DeviceEndpoint::Create(const std::string& path,
                                                       std::string& error) {
    std::unique_ptr<DeviceEndpoint> device(new DeviceEndpoint);
    device->m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (device->m_fd < 0) {
        error = Errno("cannot open " + path);
        return nullptr;
    }
    if (!MakeRaw(device->m_fd, true)) {
        error = Errno("cannot set up " + path + " as a serial line");
        return nullptr;
    }
    return device;
}

DeviceEndpoint::~DeviceEndpoint() {
    CloseFd(m_fd);
}

void DeviceEndpoint::Decode(const uint8_t* bytes, size_t count, SimLine& line, AnswerSink& sink) {
    for (size_t i = 0; i < count; ++i) {
        const MarkedByteDecoder::Event event = m_decoder.Feed(bytes[i]);
        switch (event.kind) {
            case MarkedByteDecoder::Kind::Data:
                line.Feed(event.byte, sink);
                break;
            case MarkedByteDecoder::Kind::Break:
            case MarkedByteDecoder::Kind::Damaged:
                line.Break();
                break;
            case MarkedByteDecoder::Kind::Nothing:
                break;
        }
    }
}

void DeviceEndpoint::OnDataClosed() {
    // A device that reports an error keeps doing so; do not spin on it.
    CurrentClock().Sleep(100);
}
