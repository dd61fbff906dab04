#include "platform/ReadWake.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace {
thread_local int t_listened = -1;
}  // namespace

ReadWake::ReadWake() : m_fd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

ReadWake::~ReadWake() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

void ReadWake::Raise() {
    const uint64_t one = 1;
    if (m_fd >= 0) {
        static_cast<void>(::write(m_fd, &one, sizeof one));
    }
}

void ReadWake::Clear() {
    uint64_t count = 0;
    if (m_fd >= 0) {
        static_cast<void>(::read(m_fd, &count, sizeof count));
    }
}

ListenForWake::ListenForWake(const ReadWake* wake) : m_previous(t_listened) {
    t_listened = wake != nullptr ? wake->Descriptor() : -1;
}

ListenForWake::~ListenForWake() {
    t_listened = m_previous;
}

int ListenedWakeDescriptor() {
    return t_listened;
}
