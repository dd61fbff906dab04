#include "tests/support/LoopbackServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

LoopbackListener::LoopbackListener(int backlog) {
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(m_fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length) == 0 &&
        ::listen(m_fd, backlog) == 0) {
        m_port = ntohs(address.sin_port);
    }
}

void LoopbackListener::Close() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

int LoopbackListener::Accept() {
    return ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
}

std::string LoopbackListener::Address(const char* scheme) const {
    return std::string(scheme) + "://127.0.0.1:" + std::to_string(m_port);
}

std::vector<uint8_t> ReadFromSocket(int fd, size_t count) {
    std::vector<uint8_t> got(count);
    size_t have = 0;
    while (have < count) {
        pollfd pfd{fd, POLLIN, 0};
        if (::poll(&pfd, 1, 1000) != 1) {
            break;
        }
        const ssize_t n = ::recv(fd, got.data() + have, count - have, 0);
        if (n <= 0) {
            break;
        }
        have += static_cast<size_t>(n);
    }
    got.resize(have);
    return got;
}

bool WriteToSocket(int fd, const std::vector<uint8_t>& bytes) {
    return ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(bytes.size());
}
