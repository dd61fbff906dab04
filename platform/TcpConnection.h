#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/SerialDevice.h"

// The socket side of the serial device server backends (tcp://, rfc2217://).

// Connects to "host:port" (the host may be a bracketed IPv6 address) within two seconds.
// Returns a non-blocking socket with Nagle's delay off, or -1 with `error` filled in
// (`form` names the expected address form in that error, "tcp://host:port").
int ConnectTcp(const std::string& address, const char* form, OpenError& error);

// Up to `capacity` bytes within `timeout_ms`: Done with `received` > 0, Nothing when none
// came in time, Failed when the server closed the connection or it broke.
IoResult ReceiveSome(int fd, uint8_t* buffer, size_t capacity, size_t& received,
                     uint32_t timeout_ms);

// All `count` bytes within `timeout_ms`: Done, Nothing when none could go in time, Failed
// when the connection broke or only some went (the stream is then cut in mid-sequence).
IoResult SendAll(int fd, const uint8_t* bytes, size_t count, uint32_t timeout_ms);
