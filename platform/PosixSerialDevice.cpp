// Serial ports on POSIX systems through termios: real UARTs, USB adapters, pseudo-terminals.
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#ifdef __linux__
#include <linux/serial.h>
#endif

#include "platform/Clock.h"
#include "platform/DescriptorWait.h"
#include "platform/SerialDevice.h"

namespace {

speed_t BaudConstant(uint32_t baud) {
    switch (baud) {
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        case 230400:
            return B230400;
        default:
            return B0;
    }
}

OpenErrorKind KindOfErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return OpenErrorKind::NotFound;
        case EACCES:
        case EPERM:
            return OpenErrorKind::PermissionDenied;
        case EBUSY:
            return OpenErrorKind::Busy;
        case ENOTTY:
            return OpenErrorKind::NotSerial;
        default:
            return OpenErrorKind::Other;
    }
}

class PosixSerialDevice final : public SerialDevice {
  public:
    explicit PosixSerialDevice(int fd) : m_fd(fd) {}
    ~PosixSerialDevice() override {
        ::ioctl(m_fd, TIOCNXCL);
        ::close(m_fd);
    }

    bool Configure(const SerialSettings& settings) override;
    bool SetTimeouts(const SerialTimeouts& timeouts) override {
        m_timeouts = timeouts;
        return true;
    }
    IoResult ReadByte(uint8_t& byte) override {
        return ReadByteWithin(byte, m_timeouts.ReadByteTimeout());
    }
    IoResult ReadByteWithin(uint8_t& byte, uint32_t timeout_ms) override;
    IoResult WriteByte(uint8_t byte) override;
    bool SetBreak(bool on) override {
        if (m_lineError) {
            return false;
        }
        return ::ioctl(m_fd, on ? TIOCSBRK : TIOCCBRK) == 0;
    }

  private:
    IoResult ReadRaw(uint8_t& byte, uint32_t timeout_ms);
    void SetModemLine(int line, bool on);
    bool AppliedWithoutParity(const termios& wanted);

    int m_fd;
    SerialTimeouts m_timeouts;
    bool m_lineError = false;  // a parity or framing error: fail until reopened
};

bool PosixSerialDevice::AppliedWithoutParity(const termios& wanted) {
    // A pseudo-terminal has no parity generator: the kernel applies everything else and
    // drops PARENB, and the C library then reports the whole call as failed.
    termios applied{};
    if (errno != EINVAL || ::tcgetattr(m_fd, &applied) != 0) {
        return false;
    }
    const tcflag_t kept = CSIZE | CSTOPB | CREAD | PARODD;
    return (applied.c_cflag & kept) == (wanted.c_cflag & kept) &&
           ::cfgetospeed(&applied) == ::cfgetospeed(&wanted) &&
           (applied.c_iflag & (INPCK | PARMRK)) == (wanted.c_iflag & (INPCK | PARMRK));
}

void PosixSerialDevice::SetModemLine(int line, bool on) {
    // A device without modem-control lines (a pseudo-terminal) refuses this; that is fine.
    ::ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &line);
}

bool PosixSerialDevice::Configure(const SerialSettings& settings) {
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0) {
        return false;
    }
    const speed_t speed = BaudConstant(settings.baud);
    if (speed == B0) {
        return false;
    }
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | CRTSCTS | HUPCL);
    tio.c_cflag |= CS8 | CREAD | CLOCAL;
    if (settings.oddParity) {
        tio.c_cflag |= PARENB | PARODD;
        // Mark bytes with parity or framing errors (0xFF 0x00 x) instead of passing them on,
        // and keep a real 0xFF unambiguous (0xFF 0xFF).
        tio.c_iflag |= INPCK | PARMRK;
        tio.c_iflag &= ~static_cast<tcflag_t>(IGNPAR | ISTRIP);
    }
    if (settings.stopBits == 2) {
        tio.c_cflag |= CSTOPB;
    }
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0) {
        return false;
    }
    if (::tcsetattr(m_fd, TCSANOW, &tio) != 0 && !AppliedWithoutParity(tio)) {
        return false;
    }
    SetModemLine(TIOCM_RTS, settings.rtsOn);
    SetModemLine(TIOCM_DTR, settings.dtrOn);
#ifdef __linux__
    // A USB adapter's latency timer otherwise holds back every answer by up to 16 ms.
    serial_struct serial{};
    if (::ioctl(m_fd, TIOCGSERIAL, &serial) == 0) {
        serial.flags |= ASYNC_LOW_LATENCY;
        ::ioctl(m_fd, TIOCSSERIAL, &serial);
    }
#endif
    return true;
}

IoResult PosixSerialDevice::ReadRaw(uint8_t& byte, uint32_t timeout_ms) {
    const IoResult waited = WaitToRead(m_fd, timeout_ms);
    if (waited != IoResult::Done) {
        return waited;
    }
    const ssize_t n = ::read(m_fd, &byte, 1);
    if (n == 1) {
        return IoResult::Done;
    }
    if (n == 0 || errno == EAGAIN || errno == EINTR || errno == EIO) {
        // EIO: the line hung up between the poll and the read; the next call reports it.
        return IoResult::Nothing;
    }
    return IoResult::Failed;
}

IoResult PosixSerialDevice::ReadByteWithin(uint8_t& byte, uint32_t timeout_ms) {
    if (m_lineError) {
        return IoResult::Failed;
    }
    IoResult result = ReadRaw(byte, timeout_ms);
    if (result != IoResult::Done || byte != 0xFF) {
        return result;
    }
    // PARMRK: 0xFF 0xFF is a data byte 0xFF; 0xFF 0x00 x marks a byte with a line error.
    uint8_t next = 0;
    // The marker's second byte follows the first at once, whatever the caller waited.
    if (ReadRaw(next, m_timeouts.ReadByteTimeout()) != IoResult::Done) {
        return IoResult::Failed;
    }
    if (next == 0xFF) {
        byte = 0xFF;
        return IoResult::Done;
    }
    m_lineError = true;
    return IoResult::Failed;
}

IoResult PosixSerialDevice::WriteByte(uint8_t byte) {
    if (m_lineError) {
        return IoResult::Failed;
    }
    // A write time-out with nothing written fails the call, as on Windows.
    if (WaitForDescriptor(m_fd, POLLOUT, m_timeouts.WriteByteTimeout()) != WaitOutcome::Ready) {
        return IoResult::Failed;
    }
    const ssize_t n = ::write(m_fd, &byte, 1);
    return n == 1 ? IoResult::Done : IoResult::Failed;
}

}  // namespace

std::unique_ptr<SerialDevice> OpenPosixDevice(const std::string& path, OpenError& error) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = {KindOfErrno(errno), std::strerror(errno)};
        return nullptr;
    }
    if (!::isatty(fd)) {
        ::close(fd);
        error = {OpenErrorKind::NotSerial, "not a terminal device"};
        return nullptr;
    }
    // No sharing: a second opener, this program or another, gets EBUSY.
    if (::ioctl(fd, TIOCEXCL) != 0) {
        const int saved = errno;
        ::close(fd);
        error = {KindOfErrno(saved), std::strerror(saved)};
        return nullptr;
    }
    return std::make_unique<PosixSerialDevice>(fd);
}
