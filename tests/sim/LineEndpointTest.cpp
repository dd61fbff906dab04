// The endpoints vcp-sim serves on, driven directly through real terminal devices.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "sim/line/LineEndpoints.h"

namespace {

class CapturingSink : public AnswerSink {
  public:
    void Send(const std::vector<uint8_t>& bytes, uint32_t) override {
        sent.insert(sent.end(), bytes.begin(), bytes.end());
    }
    std::vector<uint8_t> sent;
};

std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + name + "-" + std::to_string(::getpid());
}

bool IsLink(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

// Reads what is waiting on `fd` (up to a second for the first byte).
std::vector<uint8_t> ReadWaiting(int fd) {
    std::vector<uint8_t> bytes;
    pollfd pfd{fd, POLLIN, 0};
    for (int timeout_ms = 1000; ::poll(&pfd, 1, timeout_ms) > 0; timeout_ms = 50) {
        uint8_t buffer[256];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
}

TEST(PtyEndpointTest, LinkLivesAsLongAsTheEndpoint) {
    const std::string link = TempPath("vcp-pty-link");
    {
        std::string error;
        auto pty = PtyEndpoint::Create(link, error);
        ASSERT_TRUE(pty) << error;
        EXPECT_TRUE(IsLink(link));
        char target[256] = {};
        ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
        EXPECT_EQ(pty->SlavePath(), target);

        // A stale link from an earlier run is replaced.
        auto again = PtyEndpoint::Create(link, error);
        ASSERT_TRUE(again) << error;
        ::readlink(link.c_str(), target, sizeof target - 1);
        EXPECT_EQ(again->SlavePath(), target);
    }
    EXPECT_FALSE(IsLink(link));
}

TEST(PtyEndpointTest, NeverReplacesAFile) {
    const std::string path = TempPath("vcp-pty-file");
    std::ofstream(path) << "keep me";
    std::string error;
    EXPECT_FALSE(PtyEndpoint::Create(path, error));
    EXPECT_NE(error.find("not a symbolic link"), std::string::npos);
    std::ifstream in(path);
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, "keep me");
    ::unlink(path.c_str());
}

TEST(DeviceEndpointTest, MarkedBytesFromARealTerminalDecodeToTheRequest) {
    // A pseudo-terminal slave stands in for a serial device: the endpoint sets it to 8-O-1
    // with marking, so a data byte 0xFF arrives doubled and must be undone.
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    std::string error;
    auto device = DeviceEndpoint::Create(::ptsname(master), error);
    ASSERT_TRUE(device) << error;

    // Ask for function 145's value with the byte 0xFF: A8 91 FF, checksum 3 + A8 + 91 + FF =
    // 0x23B.
    const std::vector<uint8_t> request = {0x12, 0x03, 0xA8, 0x91, 0xFF, 0x3B};
    ASSERT_EQ(::write(master, request.data(), request.size()),
              static_cast<ssize_t>(request.size()));
    const std::vector<uint8_t> received = ReadWaiting(device->DataFd());
    EXPECT_EQ(received.size(), request.size() + 1) << "0xFF is doubled on the way";

    SimLine line{{{1, 11}}};
    CapturingSink sink;
    device->Decode(received.data(), received.size(), line, sink);
    EXPECT_EQ(line.RequestsAnswered(), 1);
    EXPECT_EQ(sink.sent, (std::vector<uint8_t>{0x10, 0x03, 0x04, 0x91, 0x00, 0x98}));
    ::close(master);
}

}  // namespace
