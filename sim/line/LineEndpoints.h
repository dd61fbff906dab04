#pragma once

#include <memory>
#include <string>

#include "sim/line/LineServer.h"

// A pseudo-terminal whose slave side the panel opens through a symbolic link. The simulator
// keeps the slave open itself (raw, so nothing echoes) so the line survives the panel
// closing and reopening it. A BREAK is not visible on a pseudo-terminal and is not needed:
// a pause between requests resynchronises the units just as well.
class PtyEndpoint final : public LineEndpoint {
  public:
    static std::unique_ptr<PtyEndpoint> Create(const std::string& linkPath, std::string& error);
    ~PtyEndpoint() override;

    int DataFd() const override { return m_master; }
    const std::string& SlavePath() const { return m_slavePath; }

  private:
    PtyEndpoint() = default;
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
    std::string m_linkPath;
};

// A TCP port on loopback; one client (the panel's tcp:// device) at a time, a new client
// replacing the old one.
class TcpEndpoint final : public LineEndpoint {
  public:
    static std::unique_ptr<TcpEndpoint> Create(int port, std::string& error);
    ~TcpEndpoint() override;

    int Port() const { return m_port; }
    int DataFd() const override { return m_client; }
    int WatchFd() const override { return m_listener; }
    void OnWatchReadable() override;
    void OnDataClosed() override;

  private:
    TcpEndpoint() = default;
    int m_listener = -1;
    int m_client = -1;
    int m_port = 0;
};

// A real serial device at 115200 baud, 8 data bits, odd parity, one stop bit. Bytes with
// line errors and BREAKs arrive marked (0xFF 0x00 x) and are decoded here: a BREAK drops a
// half-received request, a damaged byte is dropped.
class DeviceEndpoint final : public LineEndpoint {
  public:
    static std::unique_ptr<DeviceEndpoint> Create(const std::string& path, std::string& error);
    ~DeviceEndpoint() override;

    int DataFd() const override { return m_fd; }
    void Decode(const uint8_t* bytes, size_t count, SimLine& line, AnswerSink& sink) override;
    void OnDataClosed() override;

  private:
    DeviceEndpoint() = default;
    int m_fd = -1;
    MarkedByteDecoder m_decoder;
};
