// vcp-probe through ser2net, a serial device server speaking RFC 2217, in front of vcp-sim on
// a pseudo-terminal: the units answer as they do on a local port, and a menu image arrives
// byte for byte. Real clock; skipped where ser2net is not installed.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <chrono>

#include "tests/support/LoopbackServer.h"
#include "tests/support/SimProcess.h"
#include "tests/tools/ProbeRunner.h"

namespace {

constexpr int kStartTimeout_ms = 10000;
constexpr int kRetry_ms = 20;  // between connection attempts while ser2net starts

bool Accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    const bool connected =
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

// ser2net serving `device` at 115200 baud, 8-O-1, with an RFC 2217 accepter on loopback.
class Ser2netProcess {
  public:
    static QString Program() {
        const QString onPath = QStandardPaths::findExecutable("ser2net");
        return onPath.isEmpty()
                   ? QStandardPaths::findExecutable("ser2net", {"/usr/sbin", "/usr/local/sbin"})
                   : onPath;
    }
    ~Ser2netProcess() {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    bool Start(const std::string& device) {
        {
            LoopbackListener free;  // a port nobody uses, handed on to ser2net
            m_port = free.Port();
        }
        const QString config = m_dir.filePath("ser2net.yaml");
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly)) {
            return false;
        }
        file.write(QString("connection: &con0\n"
                           "  accepter: telnet(rfc2217),tcp,127.0.0.1,%1\n"
                           "  connector: serialdev,%2,115200o81,local\n")
                       .arg(m_port)
                       .arg(QString::fromStdString(device))
                       .toUtf8());
        file.close();
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(Program(), {"-n", "-u", "-c", config, "-P", m_dir.filePath("pid")});
        if (!m_process.waitForStarted(kStartTimeout_ms)) {
            return false;
        }
        // ser2net says nothing when it listens: try its port until it takes a connection.
        const auto start = std::chrono::steady_clock::now();
        while (!Accepts(m_port)) {
            if (m_process.state() != QProcess::Running ||
                std::chrono::steady_clock::now() - start >
                    std::chrono::milliseconds(kStartTimeout_ms)) {
                return false;
            }
            // Bounded by the process: returns at once when ser2net exits.
            m_process.waitForFinished(kRetry_ms);
        }
        return true;
    }
    std::string Address() const { return "rfc2217://127.0.0.1:" + std::to_string(m_port); }

  private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};

TEST(ProbeSerialServerTest, UnitsBehindADeviceServerScanAndDownloadAsOnALocalPort) {
    if (Ser2netProcess::Program().isEmpty()) {
        GTEST_SKIP() << "ser2net is not installed (Debian package ser2net; "
                        "scripts/install-deps.sh installs it)";
    }
    SimProcess sim;
    ASSERT_TRUE(sim.Start("1:11,2:4"));
    Ser2netProcess server;
    ASSERT_TRUE(server.Start(sim.LinePath())) << "ser2net did not take connections";
    ProbeRunner probe(server.Address());

    const ProbeRun scan = probe.Run({"scan"});
    EXPECT_EQ(scan.exitCode, 0);
    EXPECT_EQ(scan.output, "unit 1: model 11\nunit 2: model 4\nunit 3: absent\nunit 4: absent\n");
    EXPECT_EQ(scan.sent, (std::vector<std::string>{"12 01 C0 C1", "22 01 C0 C1", "32 01 C0 C1",
                                                   "42 01 C0 C1"}));

    // The same image as the built-in line of the same units gives, 0xFF bytes and all.
    QTemporaryDir dir;
    const QString overServer = dir.filePath("server.bin");
    const QString inProcess = dir.filePath("inproc.bin");
    const ProbeRun menus = probe.Run({"--unit", "1", "menus", "--raw", overServer});
    EXPECT_EQ(menus.exitCode, 0);
    EXPECT_EQ(menus.json["model"].toInt(), 11);
    ProbeRunner builtin("inproc:sim");
    const ProbeRun reference = builtin.Run({"--unit", "1", "menus", "--raw", inProcess});
    ASSERT_EQ(reference.exitCode, 0);
    EXPECT_EQ(menus.json, reference.json);
    QFile got(overServer);
    QFile want(inProcess);
    ASSERT_TRUE(got.open(QIODevice::ReadOnly) && want.open(QIODevice::ReadOnly));
    const QByteArray image = got.readAll();
    EXPECT_TRUE(image.contains('\xFF'));
    EXPECT_EQ(image, want.readAll());
}

}  // namespace
