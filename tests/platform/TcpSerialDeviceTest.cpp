// The raw TCP backend against a loopback listener.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/SerialDevice.h"

namespace {

using Steady = std::chrono::steady_clock;

double MillisecondsSince(Steady::time_point start) {
    return std::chrono::duration<double, std::milli>(Steady::now() - start).count();
}

// A listening socket on 127.0.0.1 with a port of the system's choosing.
class LoopbackListener {
  public:
    explicit LoopbackListener(int backlog = 4) {
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
    ~LoopbackListener() { Close(); }
    void Close() {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    int Accept() { return ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC); }
    int Port() const { return m_port; }
    std::string Address() const { return "tcp://127.0.0.1:" + std::to_string(m_port); }

  private:
    int m_fd = -1;
    int m_port = 0;
};

class TcpSerialDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(listener.Port(), 0);
        OpenError error;
        device = OpenSerialDevice(listener.Address(), error);
        ASSERT_NE(device, nullptr) << error.detail;
        ASSERT_TRUE(device->SetTimeouts(SerialTimeouts{}));
        server = listener.Accept();
        ASSERT_GE(server, 0);
    }
    void TearDown() override {
        device.reset();
        if (server >= 0) {
            ::close(server);
        }
    }

    std::vector<uint8_t> ServerRead(size_t count) {
        std::vector<uint8_t> got(count);
        size_t have = 0;
        while (have < count) {
            pollfd pfd{server, POLLIN, 0};
            if (::poll(&pfd, 1, 1000) != 1) {
                break;
            }
            const ssize_t n = ::recv(server, got.data() + have, count - have, 0);
            if (n <= 0) {
                break;
            }
            have += static_cast<size_t>(n);
        }
        got.resize(have);
        return got;
    }

    LoopbackListener listener;
    std::unique_ptr<SerialDevice> device;
    int server = -1;
};

TEST_F(TcpSerialDeviceTest, BytesCrossBothWays) {
    const std::vector<uint8_t> request = {0x12, 0x02, 0x00, 0xFF, 0x0D};
    for (uint8_t b : request) {
        ASSERT_EQ(device->WriteByte(b), IoResult::Done);
    }
    EXPECT_EQ(ServerRead(request.size()), request);

    const std::vector<uint8_t> answer = {0x10, 0x00, 0xFF, 0x00};
    ASSERT_EQ(::send(server, answer.data(), answer.size(), 0), static_cast<ssize_t>(answer.size()));
    std::vector<uint8_t> got;
    uint8_t byte = 0;
    while (got.size() < answer.size() && device->ReadByte(byte) == IoResult::Done) {
        got.push_back(byte);
    }
    EXPECT_EQ(got, answer);
}

TEST_F(TcpSerialDeviceTest, SilenceTakesTheReadTimeout) {
    uint8_t byte = 0;
    const auto start = Steady::now();
    EXPECT_EQ(device->ReadByte(byte), IoResult::Nothing);
    const double took_ms = MillisecondsSince(start);
    std::printf("silent tcp read: %.2f ms (time-out 20 ms)\n", took_ms);
    EXPECT_GE(took_ms, 19.0);
    EXPECT_LT(took_ms, 200.0);
}

TEST_F(TcpSerialDeviceTest, BreakCannotCrossButSettingsAreAccepted) {
    EXPECT_FALSE(device->SetBreak(true));
    EXPECT_FALSE(device->SetBreak(false));
    EXPECT_TRUE(device->Configure(SerialSettings{}));
}

TEST_F(TcpSerialDeviceTest, ServerClosingFailsEveryLaterCall) {
    ::close(server);
    server = -1;
    uint8_t byte = 0;
    EXPECT_EQ(device->ReadByte(byte), IoResult::Failed);
    EXPECT_EQ(device->WriteByte(0x12), IoResult::Failed);
    EXPECT_EQ(device->ReadByte(byte), IoResult::Failed);
}

TEST(TcpOpenTest, BadAddressesAndRefusedConnections) {
    OpenError error;
    for (const char* address : {"tcp://", "tcp://localhost", "tcp://:5000", "tcp://host:"}) {
        EXPECT_EQ(OpenSerialDevice(address, error), nullptr) << address;
        EXPECT_EQ(error.kind, OpenErrorKind::NotFound) << address;
    }
    std::string closed_address;
    {
        LoopbackListener listener;
        closed_address = listener.Address();
    }
    EXPECT_EQ(OpenSerialDevice(closed_address, error), nullptr);
    EXPECT_EQ(error.kind, OpenErrorKind::NotFound);
    EXPECT_FALSE(error.detail.empty());
}

TEST(TcpOpenTest, ServerThatNeverAcceptsDoesNotHoldTheOpen) {
    // With a full accept queue the system drops further connection attempts; a connect that
    // waited on them would block for minutes.
    LoopbackListener listener(0);
    OpenError error;
    auto first = OpenSerialDevice(listener.Address(), error);
    ASSERT_NE(first, nullptr) << error.detail;
    const auto start = Steady::now();
    auto second = OpenSerialDevice(listener.Address(), error);
    const double took_ms = MillisecondsSince(start);
    std::printf("open against a full queue: %.0f ms\n", took_ms);
    if (second) {
        GTEST_SKIP() << "this system queued the second connection";
    }
    EXPECT_EQ(error.kind, OpenErrorKind::Other);
    EXPECT_LT(took_ms, 10000.0);
}

}  // namespace
