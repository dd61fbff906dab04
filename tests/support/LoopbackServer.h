#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A listening socket on 127.0.0.1 with a port of the system's choosing, standing in for a
// serial device server.
class LoopbackListener {
  public:
    explicit LoopbackListener(int backlog = 4);
    ~LoopbackListener() { Close(); }
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    void Close();
    // The next connection, or -1.
    int Accept();
    int Port() const { return m_port; }
    // "<scheme>://127.0.0.1:<port>".
    std::string Address(const char* scheme = "tcp") const;

  private:
    int m_fd = -1;
    int m_port = 0;
};

// Up to `count` bytes from `fd`, waiting at most a second for each part.
std::vector<uint8_t> ReadFromSocket(int fd, size_t count);
// Writes all of `bytes` to `fd`; false when that failed.
bool WriteToSocket(int fd, const std::vector<uint8_t>& bytes);
