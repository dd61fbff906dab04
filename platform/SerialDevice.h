#pragma once

#include <cstdint>
#include <memory>
#include <string>

// Line settings the link applies. Only the baud rate varies; the rest is fixed by the
// protocol (8 data bits, odd parity, one stop bit, RTS on, DTR off, no flow control,
// parity checking with abort on error).
struct SerialSettings {
    uint32_t baud = 115200;
    uint8_t dataBits = 8;
    bool oddParity = true;
    uint8_t stopBits = 1;
    bool rtsOn = true;
    bool dtrOn = false;
};

// Per-call time-outs in the style of the link's settings: a read of n bytes may take
// readMultiplier_ms * n + readConstant_ms, a write of n bytes writeMultiplier_ms * n.
struct SerialTimeouts {
    uint32_t readMultiplier_ms = 10;
    uint32_t readConstant_ms = 10;
    uint32_t writeMultiplier_ms = 10;

    uint32_t ReadByteTimeout() const { return readMultiplier_ms + readConstant_ms; }
    uint32_t WriteByteTimeout() const { return writeMultiplier_ms; }
};

enum class IoResult {
    Done,     // the byte was read or written
    Nothing,  // time-out: no byte within the time-out (a successful call that moved nothing)
    Failed,   // the device reported an error; after a line error every later call fails
};

// One open serial device. Backends: POSIX termios, raw TCP, Telnet com-port control
// (RFC 2217), in-process line.
class SerialDevice {
  public:
    virtual ~SerialDevice() = default;
    virtual bool Configure(const SerialSettings& settings) = 0;
    virtual bool SetTimeouts(const SerialTimeouts& timeouts) = 0;
    // One byte within the read time-out set above.
    virtual IoResult ReadByte(uint8_t& byte) = 0;
    // One byte within `timeout_ms`: 0 takes only a byte that has already arrived.
    virtual IoResult ReadByteWithin(uint8_t& byte, uint32_t timeout_ms) = 0;
    virtual IoResult WriteByte(uint8_t byte) = 0;
    virtual bool SetBreak(bool on) = 0;
};

enum class OpenErrorKind {
    None,
    NotFound,
    PermissionDenied,
    Busy,
    NotSerial,
    Other,
};

struct OpenError {
    OpenErrorKind kind = OpenErrorKind::None;
    std::string detail;  // operating-system wording, for logs and help lines
};

// Opens a device by its resolved name: "tcp://host:port" (raw bytes), "rfc2217://host:port"
// (a device server that also takes the line settings and BREAK), "inproc:NAME" or a device
// path.
std::unique_ptr<SerialDevice> OpenSerialDevice(const std::string& name, OpenError& error);
