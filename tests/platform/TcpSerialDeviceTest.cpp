// The raw TCP backend against a loopback listener.
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/SerialDevice.h"
#include "tests/support/LoopbackServer.h"

namespace {

using Steady = std::chrono::steady_clock;

double MillisecondsSince(Steady::time_point start) {
    return std::chrono::duration<double, std::milli>(Steady::now() - start).count();
}

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

    std::vector<uint8_t> ServerRead(size_t count) { return ReadFromSocket(server, count); }

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
