// The termios backend for real, over a pseudo-terminal pair. These tests run in real time:
// each read that finds nothing takes its 20 ms time-out.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/SerialDevice.h"

namespace {

using Steady = std::chrono::steady_clock;

double MillisecondsSince(Steady::time_point start) {
    return std::chrono::duration<double, std::milli>(Steady::now() - start).count();
}

bool RunningAsRoot() {
    return ::geteuid() == 0;
}

class PosixSerialDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(::grantpt(master), 0);
        ASSERT_EQ(::unlockpt(master), 0);
        slavePath = ::ptsname(master);
        // Held open before the device so the settings can be read back past its exclusive
        // open, and so the line never hangs up under the device.
        observer = ::open(slavePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(observer, 0);
        OpenError error;
        device = OpenSerialDevice(slavePath, error);
        ASSERT_NE(device, nullptr) << error.detail;
        ASSERT_TRUE(device->Configure(SerialSettings{}));
        ASSERT_TRUE(device->SetTimeouts(SerialTimeouts{}));
    }
    void TearDown() override {
        device.reset();
        if (observer >= 0) {
            ::close(observer);
        }
        if (master >= 0) {
            ::close(master);
        }
    }

    void MasterWrite(const std::vector<uint8_t>& bytes) {
        ASSERT_EQ(::write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // What reached the master within `timeout_ms`.
    std::vector<uint8_t> MasterRead(size_t count, int timeout_ms = 1000) {
        std::vector<uint8_t> got;
        const auto start = Steady::now();
        while (got.size() < count && MillisecondsSince(start) < timeout_ms) {
            pollfd pfd{master, POLLIN, 0};
            if (::poll(&pfd, 1, 50) == 1) {
                uint8_t byte = 0;
                if (::read(master, &byte, 1) == 1) {
                    got.push_back(byte);
                }
            }
        }
        return got;
    }

    int master = -1;
    int observer = -1;
    std::string slavePath;
    std::unique_ptr<SerialDevice> device;
};

TEST_F(PosixSerialDeviceTest, LineSettingsAreApplied) {
    termios tio{};
    ASSERT_EQ(::tcgetattr(observer, &tio), 0);
    EXPECT_EQ(::cfgetispeed(&tio), static_cast<speed_t>(B115200));
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B115200));
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    // Odd parity. The pseudo-terminal driver clears PARENB on every change (it has no
    // parity to generate), so only PARODD and the input checks can be read back here.
    EXPECT_NE(tio.c_cflag & PARODD, 0u);
    EXPECT_EQ(tio.c_cflag & (CSTOPB | CRTSCTS), 0u);
    EXPECT_NE(tio.c_cflag & CREAD, 0u);
    EXPECT_EQ(tio.c_iflag & (INPCK | PARMRK), static_cast<tcflag_t>(INPCK | PARMRK));
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ISTRIP | IGNPAR), 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
}

TEST_F(PosixSerialDeviceTest, OtherBaudRatesAndUnknownOnes) {
    SerialSettings bypass;
    bypass.baud = 38400;
    ASSERT_TRUE(device->Configure(bypass));
    termios tio{};
    ASSERT_EQ(::tcgetattr(observer, &tio), 0);
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B38400));
    SerialSettings odd_rate;
    odd_rate.baud = 12345;
    EXPECT_FALSE(device->Configure(odd_rate));
}

TEST_F(PosixSerialDeviceTest, ReadOfASilentLineTakesItsTimeout) {
    constexpr int kReads = 5;
    uint8_t byte = 0;
    const auto start = Steady::now();
    for (int i = 0; i < kReads; ++i) {
        ASSERT_EQ(device->ReadByte(byte), IoResult::Nothing);
    }
    const double per_read_ms = MillisecondsSince(start) / kReads;
    std::printf("silent read: %.2f ms each (time-out 20 ms)\n", per_read_ms);
    EXPECT_GE(per_read_ms, 19.0);
    EXPECT_LT(per_read_ms, 200.0);
}

TEST_F(PosixSerialDeviceTest, WrittenBytesArriveOnTheOtherSide) {
    const std::vector<uint8_t> request = {0x12, 0x04, 0x81, 0x00, 0xFF, 0x0A, 0x0D, 0x11};
    for (uint8_t b : request) {
        ASSERT_EQ(device->WriteByte(b), IoResult::Done);
    }
    // No translation on the way out: line feeds, returns and XON pass as they are.
    EXPECT_EQ(MasterRead(request.size()), request);
}

TEST_F(PosixSerialDeviceTest, EveryByteValueIsReadBackIncludingFF) {
    std::vector<uint8_t> sent;
    for (int value = 0; value < 256; ++value) {
        sent.push_back(static_cast<uint8_t>(value));
    }
    // A data 0xFF followed by 0x00 looks like the start of an error mark when not escaped.
    sent.insert(sent.end(), {0xFF, 0x00, 0x41, 0xFF, 0xFF});
    MasterWrite(sent);
    std::vector<uint8_t> got;
    uint8_t byte = 0;
    while (got.size() < sent.size() && device->ReadByte(byte) == IoResult::Done) {
        got.push_back(byte);
    }
    EXPECT_EQ(got, sent);
    EXPECT_EQ(device->ReadByte(byte), IoResult::Nothing);
}

TEST_F(PosixSerialDeviceTest, BreakCallsAreAccepted) {
    EXPECT_TRUE(device->SetBreak(true));
    EXPECT_TRUE(device->SetBreak(false));
    ASSERT_EQ(device->WriteByte(0x55), IoResult::Done);
    EXPECT_EQ(MasterRead(1), std::vector<uint8_t>{0x55});
}

TEST_F(PosixSerialDeviceTest, SecondOpenIsBusy) {
    if (RunningAsRoot()) {
        GTEST_SKIP() << "root may open an exclusive terminal";
    }
    OpenError error;
    EXPECT_EQ(OpenSerialDevice(slavePath, error), nullptr);
    EXPECT_EQ(error.kind, OpenErrorKind::Busy);
    // Closing the first frees it.
    device.reset();
    EXPECT_NE(OpenSerialDevice(slavePath, error), nullptr);
}

TEST_F(PosixSerialDeviceTest, VanishedDeviceFailsItsCalls) {
    // Like an unplugged adapter: calls fail at once, so the link reopens the port.
    ::close(master);
    master = -1;
    uint8_t byte = 0;
    EXPECT_EQ(device->ReadByte(byte), IoResult::Failed);
    EXPECT_EQ(device->WriteByte(0x12), IoResult::Failed);
}

TEST(PosixOpenTest, MissingAndNonTerminalDevices) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string base = folder.path().toStdString();
    OpenError error;
    EXPECT_EQ(OpenSerialDevice(base + "/ttyMissing", error), nullptr);
    EXPECT_EQ(error.kind, OpenErrorKind::NotFound);
    EXPECT_FALSE(error.detail.empty());

    const std::string plain = base + "/plain";
    std::ofstream(plain) << "not a port";
    EXPECT_EQ(OpenSerialDevice(plain, error), nullptr);
    EXPECT_EQ(error.kind, OpenErrorKind::NotSerial);
}

TEST(PosixOpenTest, DeviceWithoutPermissionSaysSo) {
    if (RunningAsRoot()) {
        GTEST_SKIP() << "root is never denied";
    }
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string locked = folder.path().toStdString() + "/ttyLocked";
    std::ofstream(locked) << "";
    ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
    OpenError error;
    EXPECT_EQ(OpenSerialDevice(locked, error), nullptr);
    EXPECT_EQ(error.kind, OpenErrorKind::PermissionDenied);
}

}  // namespace

namespace {

// The panel reopens the same port many times (port setup, recovery after a line error).
TEST_F(PosixSerialDeviceTest, ReopenedPortConfiguresAgain) {
    for (int round = 0; round < 3; ++round) {
        device.reset();
        OpenError error;
        device = OpenSerialDevice(slavePath, error);
        ASSERT_NE(device, nullptr) << error.detail;
        EXPECT_TRUE(device->Configure(SerialSettings{})) << "round " << round;
    }
}

}  // namespace
