// Raw bytes to a serial device server: tcp://host:port. BREAK cannot cross the connection.
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/DescriptorWait.h"
#include "platform/SerialDevice.h"

namespace {

class TcpSerialDevice final : public SerialDevice {
  public:
    explicit TcpSerialDevice(int fd) : m_fd(fd) {}
    ~TcpSerialDevice() override { ::close(m_fd); }

    bool Configure(const SerialSettings&) override { return true; }
    bool SetTimeouts(const SerialTimeouts& timeouts) override {
        m_timeouts = timeouts;
        return true;
    }
    IoResult ReadByte(uint8_t& byte) override;
    IoResult WriteByte(uint8_t byte) override;
    bool SetBreak(bool) override { return false; }

  private:
    int m_fd;
    SerialTimeouts m_timeouts;
    bool m_closed = false;
};

IoResult TcpSerialDevice::ReadByte(uint8_t& byte) {
    if (m_closed) {
        return IoResult::Failed;
    }
    const IoResult waited = WaitToRead(m_fd, m_timeouts.ReadByteTimeout());
    if (waited != IoResult::Done) {
        return waited;
    }
    const ssize_t n = ::recv(m_fd, &byte, 1, 0);
    if (n == 1) {
        return IoResult::Done;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
        return IoResult::Nothing;
    }
    // The server closed the connection: like a port that went away.
    m_closed = true;
    return IoResult::Failed;
}

IoResult TcpSerialDevice::WriteByte(uint8_t byte) {
    if (m_closed) {
        return IoResult::Failed;
    }
    if (WaitForDescriptor(m_fd, POLLOUT, m_timeouts.WriteByteTimeout()) != WaitOutcome::Ready) {
        return IoResult::Failed;
    }
    const ssize_t n = ::send(m_fd, &byte, 1, MSG_NOSIGNAL);
    if (n == 1) {
        return IoResult::Done;
    }
    m_closed = true;
    return IoResult::Failed;
}

// Splits "host:port" (the host may be a bracketed IPv6 address).
bool SplitAddress(const std::string& address, std::string& host, std::string& port) {
    const size_t colon = address.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 >= address.size()) {
        return false;
    }
    host = address.substr(0, colon);
    port = address.substr(colon + 1);
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
    }
    return true;
}

// A device server that does not answer must not hold the program for the system's minutes
// of connect retries.
constexpr uint32_t kConnectTimeout_ms = 2000;

// Connects a non-blocking socket within kConnectTimeout_ms. Returns 0 or an errno value.
int ConnectWithin(int fd, const sockaddr* address, socklen_t length) {
    if (::connect(fd, address, length) == 0) {
        return 0;
    }
    if (errno != EINPROGRESS) {
        return errno;
    }
    const WaitOutcome outcome = WaitForDescriptor(fd, POLLOUT, kConnectTimeout_ms);
    if (outcome == WaitOutcome::TimedOut) {
        return ETIMEDOUT;
    }
    // A refused connect reports its reason on the socket, ready or failed.
    int result = 0;
    socklen_t size = sizeof result;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &result, &size) != 0) {
        return errno;
    }
    if (result == 0 && outcome == WaitOutcome::Failed) {
        return EIO;
    }
    return result;
}

}  // namespace

std::unique_ptr<SerialDevice> OpenTcpDevice(const std::string& address, OpenError& error) {
    std::string host;
    std::string port;
    if (!SplitAddress(address, host, port)) {
        error = {OpenErrorKind::NotFound, "expected tcp://host:port"};
        return nullptr;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int lookup = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found);
    if (lookup != 0) {
        error = {OpenErrorKind::NotFound, ::gai_strerror(lookup)};
        return nullptr;
    }
    int fd = -1;
    int lastErrno = 0;
    for (addrinfo* ai = found; ai; ai = ai->ai_next) {
        fd = ::socket(ai->ai_family, ai->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK,
                      ai->ai_protocol);
        if (fd < 0) {
            lastErrno = errno;
            continue;
        }
        lastErrno = ConnectWithin(fd, ai->ai_addr, ai->ai_addrlen);
        if (lastErrno == 0) {
            break;
        }
        ::close(fd);
        fd = -1;
    }
    ::freeaddrinfo(found);
    if (fd < 0) {
        error = {lastErrno == ECONNREFUSED ? OpenErrorKind::NotFound : OpenErrorKind::Other,
                 std::strerror(lastErrno)};
        return nullptr;
    }
    // One byte per write: without this each request would wait for Nagle's timer.
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return std::make_unique<TcpSerialDevice>(fd);
}
