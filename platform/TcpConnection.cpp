#include "platform/TcpConnection.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Clock.h"
#include "platform/DescriptorWait.h"

namespace {

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

int ConnectTcp(const std::string& address, const char* form, OpenError& error) {
    std::string host;
    std::string port;
    if (!SplitAddress(address, host, port)) {
        error = {OpenErrorKind::NotFound, std::string("expected ") + form};
        return -1;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int lookup = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found);
    if (lookup != 0) {
        error = {OpenErrorKind::NotFound, ::gai_strerror(lookup)};
        return -1;
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
        return -1;
    }
    // One byte per write: without this each request would wait for Nagle's timer.
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

IoResult ReceiveSome(int fd, uint8_t* buffer, size_t capacity, size_t& received,
                     uint32_t timeout_ms) {
    received = 0;
    const IoResult waited = WaitToRead(fd, timeout_ms);
    if (waited != IoResult::Done) {
        return waited;
    }
    const ssize_t n = ::recv(fd, buffer, capacity, 0);
    if (n > 0) {
        received = static_cast<size_t>(n);
#ifdef TCP_QUICKACK
        // A server that holds back small writes until they are acknowledged (Nagle) would
        // otherwise stall an answer for the 40 ms of a delayed acknowledgement, twice the
        // time a byte may take. The system clears this after a while, so it is set anew.
        const int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_QUICKACK, &one, sizeof one);
#endif
        return IoResult::Done;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
        return IoResult::Nothing;
    }
    return IoResult::Failed;
}

IoResult SendAll(int fd, const uint8_t* bytes, size_t count, uint32_t timeout_ms) {
    Clock& clock = CurrentClock();
    const uint32_t start = clock.TickCount();
    size_t sent = 0;
    while (sent < count) {
        const uint32_t spent = clock.TickCount() - start;
        const uint32_t left = spent >= timeout_ms ? 0 : timeout_ms - spent;
        if (WaitForDescriptor(fd, POLLOUT, left) != WaitOutcome::Ready) {
            return sent == 0 ? IoResult::Nothing : IoResult::Failed;
        }
        const ssize_t n = ::send(fd, bytes + sent, count - sent, MSG_NOSIGNAL);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            continue;
        }
        if (n <= 0) {
            return IoResult::Failed;
        }
        sent += static_cast<size_t>(n);
    }
    return IoResult::Done;
}
