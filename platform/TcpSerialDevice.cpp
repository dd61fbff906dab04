// Raw bytes to a serial device server: tcp://host:port. BREAK cannot cross the connection.
#include <unistd.h>

#include "platform/SerialDevice.h"
#include "platform/TcpConnection.h"

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
    IoResult ReadByte(uint8_t& byte) override {
        return ReadByteWithin(byte, m_timeouts.ReadByteTimeout());
    }
    IoResult ReadByteWithin(uint8_t& byte, uint32_t timeout_ms) override;
    IoResult WriteByte(uint8_t byte) override;
    bool SetBreak(bool) override { return false; }

  private:
    int m_fd;
    SerialTimeouts m_timeouts;
    bool m_closed = false;
};

IoResult TcpSerialDevice::ReadByteWithin(uint8_t& byte, uint32_t timeout_ms) {
    if (m_closed) {
        return IoResult::Failed;
    }
    size_t received = 0;
    const IoResult result = ReceiveSome(m_fd, &byte, 1, received, timeout_ms);
    // The server closed the connection: like a port that went away.
    m_closed = result == IoResult::Failed;
    return result;
}

IoResult TcpSerialDevice::WriteByte(uint8_t byte) {
    if (m_closed) {
        return IoResult::Failed;
    }
    const IoResult result = SendAll(m_fd, &byte, 1, m_timeouts.WriteByteTimeout());
    m_closed = result == IoResult::Failed;
    // A write time-out with nothing written fails the call, as on a local port.
    return result == IoResult::Done ? IoResult::Done : IoResult::Failed;
}

}  // namespace

std::unique_ptr<SerialDevice> OpenTcpDevice(const std::string& address, OpenError& error) {
    const int fd = ConnectTcp(address, "tcp://host:port", error);
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<TcpSerialDevice>(fd);
}
