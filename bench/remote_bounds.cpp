// Network control's bounds measured on the real clock: the panel in this process with the line
// beside its window and vcp-sim serving unit 1 on a pseudo-terminal, clients on loopback
// sockets, each on a thread of its own so that none waits on the window:
//  - 2,000 TURNs in one second from one client, and from 32 clients of one host: how many
//    reach the wire, how soon the refused ones hear ERR, how long the line is busy after;
//  - an OSC subscribe naming the server's own port: the datagrams the machine sends in 5 s;
//    the bytes one datagram of an unsubscribed sender brings back;
//  - a client writing 64 MiB while its command waits: the panel's memory and the client.
// Prints its figures; run with QT_QPA_PLATFORM=offscreen on a machine without a display.
#include <arpa/inet.h>
#include <lo/lo.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QNetworkDatagram>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <thread>

#include "bench/KnobRequestWatch.h"
#include "bench/UnitAtWork.h"
#include "console/LineBeside.h"
#include "controls/CInfoBar.h"
#include "panel/CTavrinoxApp.h"
#include "panel/CTavrinoxDlg.h"
#include "panel/PanelRemote.h"
#include "remote/LineProtocolServer.h"
#include "remote/OscServer.h"
#include "tests/support/RunEventsUntil.h"
#include "tests/support/SimProcess.h"

namespace {

constexpr int kTurns = 2000;
constexpr int kClients = 32;
constexpr auto kSpread = std::chrono::microseconds(1000000);
constexpr int kQuietAfter_ms = 3000;
constexpr size_t kFlood = size_t{64} << 20;

int Connect(quint16 port, const char* from) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in source{};
    source.sin_family = AF_INET;
    ::inet_pton(AF_INET, from, &source.sin_addr);
    ::bind(fd, reinterpret_cast<const sockaddr*>(&source), sizeof source);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// One client's share of the turns, sent evenly over the second; its answers are read on a
// thread of its own and matched to the lines in their order.
struct TurnClient {
    std::vector<SteadyClock::time_point> sent;
    std::vector<std::pair<bool, SteadyClock::time_point>> answers;  // ok, when
    bool refusedAtConnect = false;

    void Run(quint16 port, int count, SteadyClock::time_point start) {
        const int fd = Connect(port, "127.0.0.1");
        if (fd < 0) {
            refusedAtConnect = true;
            return;
        }
        // The answers still owed come within the quiet time, or not at all.
        const timeval patience{kQuietAfter_ms / 1000, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
        std::thread reader([&] {
            std::string pending;
            char chunk[4096];
            while (answers.size() < static_cast<size_t>(count)) {
                const ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
                if (got <= 0) {
                    break;
                }
                pending.append(chunk, static_cast<size_t>(got));
                for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
                    const std::string line = pending.substr(0, end);
                    pending.erase(0, end + 1);
                    if (line.rfind("ERR The panel takes", 0) == 0) {
                        refusedAtConnect = true;
                    } else if (line.rfind("OK", 0) == 0 || line.rfind("ERR", 0) == 0) {
                        answers.emplace_back(line == "OK", SteadyClock::now());
                    }
                }
            }
        });
        for (int i = 0; i < count && !refusedAtConnect; ++i) {
            std::this_thread::sleep_until(start + kSpread * i / count);
            sent.push_back(SteadyClock::now());
            static_cast<void>(::send(fd, "TURN 8 1\n", 9, MSG_NOSIGNAL));
        }
        reader.join();
        ::close(fd);
    }
};

void MeasureTurns(quint16 port, int clients, KnobRequestWatch& wire) {
    const int before = wire.Requests().first;
    std::vector<TurnClient> each(static_cast<size_t>(clients));
    std::vector<std::thread> threads;
    const SteadyClock::time_point start = SteadyClock::now() + std::chrono::milliseconds(50);
    for (int i = 0; i < clients; ++i) {
        threads.emplace_back([&, i] {
            each[static_cast<size_t>(i)].Run(port, kTurns / clients + (i < kTurns % clients),
                                             start);
        });
    }
    std::atomic<bool> done = false;
    std::thread joiner([&] {
        for (std::thread& thread : threads) {
            thread.join();
        }
        done = true;
    });
    RunEventsUntil([&] { return done.load(); }, 60000);
    joiner.join();
    SteadyClock::time_point lastSent = start;
    int ok = 0;
    int refusedClients = 0;
    std::vector<double> refused_ms;
    for (const TurnClient& client : each) {
        refusedClients += client.refusedAtConnect ? 1 : 0;
        if (!client.sent.empty()) {
            lastSent = std::max(lastSent, client.sent.back());
        }
        for (size_t i = 0; i < client.answers.size() && i < client.sent.size(); ++i) {
            if (client.answers[i].first) {
                ++ok;
            } else {
                refused_ms.push_back(Ms(client.answers[i].second - client.sent[i]));
            }
        }
    }
    RunEventsUntil([] { return false; }, kQuietAfter_ms);
    const auto [turns, lastTurn] = wire.Requests();
    std::printf(
        "%d TURNs from %d client(s): %d connections refused, %d OK, %zu ERR, "
        "%d knob requests on the wire, the last %.0f ms after the last TURN\n",
        kTurns, clients, refusedClients, ok, refused_ms.size(), turns - before,
        turns > before ? Ms(lastTurn - lastSent) : 0.0);
    ReportSpread("  a refused TURN to its ERR", refused_ms, "");
}

int64_t UdpOutDatagrams() {
    std::ifstream snmp("/proc/net/snmp");
    std::string line;
    bool header = true;
    while (std::getline(snmp, line)) {
        if (line.rfind("Udp: ", 0) == 0) {
            if (header) {
                header = false;
                continue;
            }
            std::istringstream fields(line.substr(5));
            int64_t in = 0, noPorts = 0, errors = 0, out = 0;
            fields >> in >> noPorts >> errors >> out;
            return out;
        }
    }
    return -1;
}

// A message to `path`, with one int32 when `number` is given, written by liblo into a buffer
// of its size.
std::vector<char> OscDatagram(const char* path, std::optional<int> number) {
    lo_message message = lo_message_new();
    if (number) {
        lo_message_add_int32(message, *number);
    }
    std::vector<char> packet(lo_message_length(message, path));
    size_t size = packet.size();
    lo_message_serialise(message, path, packet.data(), &size);
    lo_message_free(message);
    return packet;
}

void MeasureOsc(quint16 port) {
    QUdpSocket sender;
    sender.bind(QHostAddress::LocalHost, 0);
    const auto send = [&](const std::vector<char>& packet) {
        sender.writeDatagram(packet.data(), static_cast<qint64>(packet.size()),
                             QHostAddress::LocalHost, port);
    };
    const int64_t before = UdpOutDatagrams();
    send(OscDatagram("/vcp/subscribe", port));
    RunEventsUntil([] { return false; }, 5000);
    std::printf(
        "OSC subscribe naming the server's own port: %lld datagrams sent on the machine "
        "in 5 s\n",
        static_cast<long long>(UdpOutDatagrams() - before));
    for (const char* path : {"/vcp/help", "/vcp/nothing", "/vcp/knob"}) {
        while (sender.hasPendingDatagrams()) {
            sender.receiveDatagram();
        }
        const std::vector<char> packet = OscDatagram(path, std::nullopt);
        send(packet);
        qint64 bytes = 0;
        RunEventsUntil(
            [&] {
                while (sender.hasPendingDatagrams()) {
                    bytes += sender.receiveDatagram().data().size();
                }
                return false;
            },
            300);
        std::printf("  %-14s of %zu bytes from an unsubscribed sender: %lld bytes back\n", path,
                    packet.size(), static_cast<long long>(bytes));
    }
}

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}

void MeasureFlood(quint16 port, CTavrinoxDlg& panel) {
    panel.Console().SelectUnit(1);
    RunEventsUntil([&] { return g_panelModel.m_currentMenu[1] != -1; }, 15000);
    const long before = ResidentKiB();
    const int fd = Connect(port, "127.0.0.1");
    std::atomic<size_t> written = 0;
    std::atomic<bool> done = false;
    std::thread writer([&] {
        // A unit's selection waits for its menus: the flood comes meanwhile.
        static_cast<void>(::send(fd, "UNIT 2\n", 7, MSG_NOSIGNAL));
        const std::string chunk(65536, 'x');
        while (written < kFlood) {
            const ssize_t sent = ::send(fd, chunk.data(), chunk.size(), MSG_NOSIGNAL);
            if (sent <= 0) {
                break;
            }
            written += static_cast<size_t>(sent);
        }
        done = true;
    });
    RunEventsUntil([&] { return done.load(); }, 30000);
    const bool dropped =
        panel.InfoBar()->Message().find("dropped") != std::string::npos || written < kFlood;
    const long after = ResidentKiB();
    ::shutdown(fd, SHUT_RDWR);
    writer.join();
    ::close(fd);
    std::printf(
        "a client writing 64 MiB while its command waits: %zu bytes taken before it "
        "was %s; resident memory %+ld KiB\n",
        written.load(), dropped ? "dropped" : "NOT dropped", after - before);
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    ::setenv("XDG_CONFIG_HOME", home.path().toLocal8Bit().constData(), 1);
    CTavrinoxApp vcpApp(argc, argv);
    SimProcess sim;
    if (!StartLineOfUnits(sim, "1:11,2:4")) {
        return 1;
    }
    KnobRequestWatch wire;
    g_link.SetTracer(&wire);
    {
        LineBeside lineBeside;
        CTavrinoxDlg panel;
        panel.OnInitDialog();
        panel.show();
        if (!SelectUnitOneAndWait(panel)) {
            return 1;
        }
        PanelRemote remote(panel);
        RemoteSettings settings;
        settings.enabled = true;
        settings.tcpPort = 0;
        settings.oscPort = 0;
        if (!remote.Apply(settings).empty() || remote.Lines() == nullptr ||
            remote.Osc() == nullptr) {
            std::fprintf(stderr, "network control did not start\n");
            return 1;
        }
        MeasureTurns(remote.Lines()->Port(), 1, wire);
        RunEventsUntil([] { return false; }, 1000);  // the host's second passes
        MeasureTurns(remote.Lines()->Port(), kClients, wire);
        MeasureOsc(remote.Osc()->Port());
        MeasureFlood(remote.Lines()->Port(), panel);
        g_link.SetTracer(nullptr);
    }
    return 0;
}
