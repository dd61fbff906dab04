// vcp-sim as a separate process, reached through the link's own POSIX and TCP backends.
// These run on the real clock and are kept short.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include "tests/support/TestPaths.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "link/Framing.h"
#include "link/SerialCom.h"
#include "model/PanelModel.h"
#include "platform/PortNames.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/StatusPrinter.h"

namespace {

class VcpSimProcessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_binary = BuildProgram("vcp-sim");
        if (::access(m_binary.c_str(), X_OK) != 0) {
            GTEST_SKIP() << "vcp-sim not built at " << m_binary;
        }
        ResetProgramState();
        SetPrompter(&m_prompter);
    }

    void TearDown() override {
        g_link.Close();
        PortNames().SetRunOverride("");
        SetPrompter(nullptr);
        Stop();
        ResetProgramState();
    }

    // Starts vcp-sim with `args` and returns its "ready" line (empty on failure).
    std::string Start(const std::vector<std::string>& args) {
        int toChild[2];
        int fromChild[2];
        if (::pipe(toChild) != 0 || ::pipe(fromChild) != 0) {
            return {};
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            // A test that dies must not leave its simulator behind.
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            ::dup2(toChild[0], STDIN_FILENO);
            ::dup2(fromChild[1], STDOUT_FILENO);
            ::close(toChild[1]);
            ::close(fromChild[0]);
            std::vector<char*> argv{m_binary.data()};
            std::vector<std::string> copies = args;
            for (std::string& arg : copies) {
                argv.push_back(arg.data());
            }
            argv.push_back(nullptr);
            ::execv(m_binary.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(toChild[0]);
        ::close(fromChild[1]);
        m_control = toChild[1];
        m_output = fromChild[0];
        return ReadLine(5000);
    }

    std::string ReadLine(int timeout_ms) {
        std::string line;
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd pfd{m_output, POLLIN, 0};
            if (::poll(&pfd, 1, 50) <= 0) {
                continue;
            }
            char c = 0;
            if (::read(m_output, &c, 1) != 1) {
                break;
            }
            if (c == '\n') {
                return line;
            }
            line += c;
        }
        return line;
    }

    void Control(const std::string& command) {
        const std::string line = command + "\n";
        ASSERT_EQ(::write(m_control, line.data(), line.size()), static_cast<ssize_t>(line.size()));
    }

    // SIGTERM, then the exit status (-1 when it had to be killed).
    int Stop() {
        if (m_pid <= 0) {
            return -1;
        }
        ::kill(m_pid, SIGTERM);
        // Wait on a process descriptor, so the exit is seen at once without polling.
        bool exited = true;
        const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, m_pid, 0));
        if (pidfd >= 0) {
            pollfd pfd{pidfd, POLLIN, 0};
            exited = ::poll(&pfd, 1, 2000) == 1;
            ::close(pidfd);
        }
        if (!exited) {
            ::kill(m_pid, SIGKILL);
        }
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = 0;
        ::close(m_control);
        ::close(m_output);
        return exited && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    Status Exchange(uint8_t address, std::vector<uint8_t> payload, AnswerBuffer& answer,
                    Patience patience = kPatience20s) {
        std::vector<uint8_t> request{RequestAddress(address), static_cast<uint8_t>(payload.size())};
        request.insert(request.end(), payload.begin(), payload.end());
        const Status sent = SendPacket(request);
        return sent != Status::Ok ? sent : ReceivePacket(answer, patience);
    }

    std::string m_binary;
    ScriptedPrompter m_prompter;
    pid_t m_pid = 0;
    int m_control = -1;
    int m_output = -1;
};

TEST_F(VcpSimProcessTest, ServesAPseudoTerminalUntilTerminated) {
    const std::string link = ::testing::TempDir() + "vcp-sim-test-" + std::to_string(::getpid());
    ASSERT_EQ(Start({"--pty", link, "--units", "1:11,3:4", "--delay", "0"}), "ready " + link);

    PortNames().SetRunOverride(link);
    ASSERT_TRUE(ReopenPort(1));
    AnswerBuffer answer{};
    ASSERT_EQ(Exchange(0x30, {0xC0}, answer), Status::Ok);
    EXPECT_EQ(AnswerCode(answer), 0x40);
    EXPECT_EQ(AnswerData(answer, 2), 4);
    EXPECT_EQ(Exchange(0x20, {0xC0}, answer, kPatience200ms), Status::NoAnswer);

    // Values read back with 0xFF bytes on the way, which the terminal marks and the link
    // unmarks: a changed value shows up flagged, then in the values.
    Control("set 1 16 255");
    EXPECT_EQ(ReadLine(2000), "value 255");
    Control("show 1");
    EXPECT_NE(ReadLine(2000).find("flags 0x42"), std::string::npos);
    ASSERT_EQ(Exchange(0x10, {0xAC}, answer), Status::Ok);
    EXPECT_EQ(AnswerLength(answer), 255);
    EXPECT_EQ(AnswerData(answer, 33), 0xFF);

    EXPECT_EQ(Stop(), 0);
    struct stat info {};
    EXPECT_NE(::lstat(link.c_str(), &info), 0) << "the link is removed on exit";
}

TEST_F(VcpSimProcessTest, ServesLoopbackTcpWithTheScriptsOpeningState) {
    const std::string script =
        ::testing::TempDir() + "vcp-sim-script-" + std::to_string(::getpid());
    std::ofstream(script) << "# opening state\nsettings 2 From the script\nwait 600000\n"
                             "settings 2 Much later\n";
    const std::string ready = Start({"--tcp", "0", "--units", "2:80", "--script", script});
    ::unlink(script.c_str());
    ASSERT_EQ(ready.rfind("ready tcp://127.0.0.1:", 0), 0u) << ready;
    PortNames().SetRunOverride(ready.substr(6));
    ASSERT_TRUE(ReopenPort(1));
    AnswerBuffer answer{};
    ASSERT_EQ(Exchange(0x20, {0xB6}, answer), Status::Ok);
    EXPECT_EQ(AnswerCode(answer), 0x00);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&answer[kAnswerData + 2])),
              "From the script");
    EXPECT_EQ(Stop(), 0);
}

TEST_F(VcpSimProcessTest, RefusesABadCommandLine) {
    EXPECT_EQ(Start({"--units", "1:11"}), "");
    int status = 0;
    ASSERT_EQ(::waitpid(m_pid, &status, 0), m_pid);
    m_pid = 0;
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
}

}  // namespace
