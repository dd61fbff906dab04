// A serial port behind a device server that takes its line settings, modem lines and BREAK
// over Telnet's com-port option: rfc2217://host:port.
#include <unistd.h>

#include <deque>
#include <iterator>
#include <vector>

#include "platform/Clock.h"
#include "platform/SerialDevice.h"
#include "platform/TcpConnection.h"
#include "platform/TelnetComPort.h"

namespace {

// How long the server may take to agree to the com-port option, and to answer the line
// settings.
constexpr uint32_t kNegotiation_ms = 2000;
constexpr uint32_t kSettingsAnswer_ms = 1000;
// Bytes taken from the connection at a time.
constexpr size_t kReceiveChunk = 512;
// A unit never speaks unasked: more waiting data than this is not an answer, and is dropped.
constexpr size_t kMaxQueuedData = 4096;

class Rfc2217SerialDevice final : public SerialDevice {
  public:
    explicit Rfc2217SerialDevice(int fd) : m_fd(fd) {}
    ~Rfc2217SerialDevice() override { ::close(m_fd); }

    // Offers the options and waits for the server's word on the com-port option.
    bool Negotiate(OpenError& error);

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
        return Send(TelnetComPort::ComPortCommand(
                   TelnetComPort::kSetControl,
                   {on ? TelnetComPort::kBreakOn : TelnetComPort::kBreakOff})) == IoResult::Done;
    }

  private:
    // Takes what the server sent within `timeout_ms`, answers its negotiation, queues data.
    IoResult Pump(uint32_t timeout_ms);
    // Pumps until `done` holds or `timeout_ms` ran out; false on a time-out or a broken link.
    template <typename Done>
    bool PumpUntil(uint32_t timeout_ms, Done done);
    IoResult Send(const std::vector<uint8_t>& bytes);

    int m_fd;
    SerialTimeouts m_timeouts;
    TelnetComPort m_telnet;
    std::deque<uint8_t> m_data;
    bool m_closed = false;
};

IoResult Rfc2217SerialDevice::Send(const std::vector<uint8_t>& bytes) {
    if (m_closed) {
        return IoResult::Failed;
    }
    const IoResult result =
        SendAll(m_fd, bytes.data(), bytes.size(), m_timeouts.WriteByteTimeout());
    m_closed = result == IoResult::Failed;
    return result;
}

IoResult Rfc2217SerialDevice::Pump(uint32_t timeout_ms) {
    if (m_closed) {
        return IoResult::Failed;
    }
    uint8_t chunk[kReceiveChunk];
    size_t received = 0;
    const IoResult result = ReceiveSome(m_fd, chunk, sizeof chunk, received, timeout_ms);
    if (result != IoResult::Done) {
        m_closed = result == IoResult::Failed;
        return result;
    }
    std::vector<uint8_t> replies;
    m_telnet.Receive(chunk, received, m_data, replies);
    while (m_data.size() > kMaxQueuedData) {
        m_data.pop_front();
    }
    if (!replies.empty() && Send(replies) == IoResult::Failed) {
        return IoResult::Failed;
    }
    return IoResult::Done;
}

template <typename Done>
bool Rfc2217SerialDevice::PumpUntil(uint32_t timeout_ms, Done done) {
    Clock& clock = CurrentClock();
    const uint32_t start = clock.TickCount();
    while (!done()) {
        // A wait of 0 still takes what has already arrived.
        const uint32_t spent = clock.TickCount() - start;
        const uint32_t left = spent >= timeout_ms ? 0 : timeout_ms - spent;
        if (Pump(left) == IoResult::Failed) {
            return false;
        }
        if (left == 0) {
            return done();
        }
    }
    return true;
}

bool Rfc2217SerialDevice::Negotiate(OpenError& error) {
    if (Send(m_telnet.Offers()) != IoResult::Done) {
        error = {OpenErrorKind::Other, "the connection broke while offering serial port control"};
        return false;
    }
    PumpUntil(kNegotiation_ms,
              [&] { return m_telnet.ComPort() != TelnetComPort::ComPortState::Asked; });
    switch (m_telnet.ComPort()) {
        case TelnetComPort::ComPortState::Agreed:
            return true;
        case TelnetComPort::ComPortState::Refused:
            error = {OpenErrorKind::NotSerial,
                     "the server refuses serial port control (RFC 2217); for a server of raw "
                     "bytes use tcp://"};
            return false;
        default:
            break;
    }
    error = {OpenErrorKind::NotSerial,
             "the server did not take up serial port control (RFC 2217); for a server of raw "
             "bytes use tcp://"};
    return false;
}

bool Rfc2217SerialDevice::Configure(const SerialSettings& settings) {
    using T = TelnetComPort;
    const uint32_t baud = settings.baud;
    const std::vector<uint8_t> baudValue = {
        static_cast<uint8_t>(baud >> 24), static_cast<uint8_t>(baud >> 16),
        static_cast<uint8_t>(baud >> 8), static_cast<uint8_t>(baud)};
    const std::vector<uint8_t> wanted[] = {baudValue,
                                           {settings.dataBits},
                                           {settings.oddParity ? T::kParityOdd : T::kParityNone},
                                           {settings.stopBits}};
    const uint8_t settingCommands[] = {T::kSetBaudRate, T::kSetDataSize, T::kSetParity,
                                       T::kSetStopSize};
    m_telnet.ForgetAnswers();
    std::vector<uint8_t> out = T::ComPortCommand(
        T::kSetBaudRate, {baudValue[0], baudValue[1], baudValue[2], baudValue[3]});
    for (size_t i = 1; i < std::size(settingCommands); ++i) {
        const std::vector<uint8_t> command = T::ComPortCommand(settingCommands[i], {wanted[i][0]});
        out.insert(out.end(), command.begin(), command.end());
    }
    for (uint8_t control :
         {T::kNoFlowControlOut, T::kNoFlowControlIn, settings.rtsOn ? T::kRtsOn : T::kRtsOff,
          settings.dtrOn ? T::kDtrOn : T::kDtrOff}) {
        const std::vector<uint8_t> command = T::ComPortCommand(T::kSetControl, {control});
        out.insert(out.end(), command.begin(), command.end());
    }
    const std::vector<uint8_t> purge = T::ComPortCommand(T::kPurgeData, {T::kPurgeBoth});
    out.insert(out.end(), purge.begin(), purge.end());
    if (Send(out) != IoResult::Done) {
        return false;
    }
    m_data.clear();
    // The line settings must come back as sent: a server that cannot apply one says so with
    // another value. Modem lines are not waited for: a server in front of a port without
    // them (a pseudo-terminal) never answers those.
    PumpUntil(kSettingsAnswer_ms, [&] {
        for (uint8_t command : settingCommands) {
            if (!m_telnet.Answer(command)) {
                return false;
            }
        }
        return true;
    });
    for (size_t i = 0; i < std::size(settingCommands); ++i) {
        const auto answer = m_telnet.Answer(settingCommands[i]);
        if (answer && *answer != wanted[i]) {
            return false;
        }
    }
    return !m_closed;
}

IoResult Rfc2217SerialDevice::ReadByteWithin(uint8_t& byte, uint32_t timeout_ms) {
    const bool got = PumpUntil(timeout_ms, [&] { return !m_data.empty(); });
    if (!got) {
        return m_closed ? IoResult::Failed : IoResult::Nothing;
    }
    byte = m_data.front();
    m_data.pop_front();
    return IoResult::Done;
}

IoResult Rfc2217SerialDevice::WriteByte(uint8_t byte) {
    std::vector<uint8_t> out;
    TelnetComPort::AppendData(out, byte);
    // A write time-out with nothing written fails the call, as on a local port.
    return Send(out) == IoResult::Done ? IoResult::Done : IoResult::Failed;
}

}  // namespace

std::unique_ptr<SerialDevice> OpenRfc2217Device(const std::string& address, OpenError& error) {
    const int fd = ConnectTcp(address, "rfc2217://host:port", error);
    if (fd < 0) {
        return nullptr;
    }
    auto device = std::make_unique<Rfc2217SerialDevice>(fd);
    if (!device->Negotiate(error)) {
        return nullptr;
    }
    return device;
}
