// Network control measured on the real clock, the panel in this process with the line beside
// its window and vcp-sim serving units 1 and 2 on a pseudo-terminal; clients on loopback
// sockets, each on a thread of its own so that none waits on the window:
//  - a client's TURN to the first byte of the knob's request on the wire;
//  - a unit's own change (vcp-sim's `set`) to the STATE line a subscribed client reads;
//  - the process's CPU, a share of one core, over a few idle seconds with one client and
//    with 20 subscribed clients (getrusage).
// Prints its figures; run with QT_QPA_PLATFORM=offscreen on a machine without a display.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench/UnitAtWork.h"
#include "console/LineBeside.h"
#include "console/PanelActions.h"
#include "controls/CInfoBar.h"
#include "link/SerialCom.h"
#include "panel/CTavrinoxApp.h"
#include "panel/CTavrinoxDlg.h"
#include "panel/PanelRemote.h"
#include "protocol/Commands.h"
#include "remote/LineProtocolServer.h"
#include "tests/support/RunEventsUntil.h"
#include "tests/support/SimProcess.h"

namespace {

using SteadyClock = std::chrono::steady_clock;
constexpr int kTurnSamples = 64;
constexpr int kChangeSamples = 32;
constexpr int kIdleClients = 20;
constexpr int kIdleSeconds = 5;
constexpr auto kAnswerLimit = std::chrono::seconds(2);

double Ms(SteadyClock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Quantile(std::vector<double> samples, double q) {
    if (samples.empty()) {
        return 0.0;
    }
    std::sort(samples.begin(), samples.end());
    const double rank = std::ceil(q * static_cast<double>(samples.size()));
    return samples[std::min(samples.size() - 1, rank < 1.0 ? 0 : static_cast<size_t>(rank) - 1)];
}

void Report(const char* what, const std::vector<double>& samples_ms, int wanted) {
    std::printf("%-44s p50 %6.1f ms  p95 %6.1f ms  max %6.1f ms  (%zu of %d samples)\n", what,
                Quantile(samples_ms, 0.5), Quantile(samples_ms, 0.95), Quantile(samples_ms, 1.0),
                samples_ms.size(), wanted);
}

// The first byte of the next knob request the link sends after Arm. A frame is the unit's
// address, the length, the command and the rest; a pause of 20 ms starts a new one.
class TurnRequestWatch : public LinkTracer {
  public:
    void OnByte(TraceDirection direction, uint8_t byte) override {
        if (direction != TraceDirection::Sent) {
            return;
        }
        const SteadyClock::time_point now = SteadyClock::now();
        std::lock_guard lock(m_mutex);
        if (m_frame.empty() || now - m_last > std::chrono::milliseconds(20) ||
            (m_frame.size() >= 2 && m_frame.size() >= size_t{m_frame[1]} + 3)) {
            m_frame.clear();
            m_frameStart = now;
        }
        m_last = now;
        m_frame.push_back(byte);
        if (m_frame.size() == 3 && byte == static_cast<uint8_t>(Command::AdjustParameter) &&
            m_armed && m_frameStart >= m_asked) {
            m_armed = false;
            m_seen = m_frameStart;
            m_woken.notify_all();
        }
    }
    void Arm(SteadyClock::time_point asked) {
        std::lock_guard lock(m_mutex);
        m_asked = asked;
        m_armed = true;
        m_seen.reset();
    }
    std::optional<SteadyClock::duration> Wait() {
        std::unique_lock lock(m_mutex);
        if (!m_woken.wait_for(lock, kAnswerLimit, [this] { return m_seen.has_value(); })) {
            m_armed = false;
            return std::nullopt;
        }
        return *m_seen - m_asked;
    }

  private:
    std::mutex m_mutex;
    std::condition_variable m_woken;
    std::vector<uint8_t> m_frame;
    SteadyClock::time_point m_last;
    SteadyClock::time_point m_frameStart;
    SteadyClock::time_point m_asked;
    std::optional<SteadyClock::time_point> m_seen;
    bool m_armed = false;
};

// A client on a blocking socket of its own; a reader thread keeps every line it receives.
class Client {
  public:
    explicit Client(quint16 port) : m_fd(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const int one = 1;
        ::setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        m_connected =
            ::connect(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        m_reader = std::thread([this] { ReadLines(); });
    }
    ~Client() {
        ::shutdown(m_fd, SHUT_RDWR);
        m_reader.join();
        ::close(m_fd);
    }
    bool Connected() const { return m_connected; }
    void Send(const std::string& line) {
        const std::string text = line + "\n";
        static_cast<void>(::write(m_fd, text.data(), text.size()));
    }
    // When the first line that `wanted` accepts arrived, waiting at most the answer limit.
    template <typename Wanted>
    std::optional<SteadyClock::time_point> WaitFor(Wanted wanted) {
        std::unique_lock lock(m_mutex);
        std::optional<SteadyClock::time_point> when;
        m_woken.wait_for(lock, kAnswerLimit, [&] {
            for (; m_taken < m_lines.size(); ++m_taken) {
                if (wanted(m_lines[m_taken].first)) {
                    when = m_lines[m_taken++].second;
                    return true;
                }
            }
            return false;
        });
        return when;
    }

  private:
    void ReadLines() {
        std::string pending;
        char chunk[4096];
        for (;;) {
            const ssize_t count = ::read(m_fd, chunk, sizeof chunk);
            if (count <= 0) {
                return;
            }
            const SteadyClock::time_point now = SteadyClock::now();
            pending.append(chunk, static_cast<size_t>(count));
            std::lock_guard lock(m_mutex);
            for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
                m_lines.emplace_back(pending.substr(0, end), now);
                pending.erase(0, end + 1);
            }
            m_woken.notify_all();
        }
    }

    int m_fd;
    bool m_connected = false;
    std::thread m_reader;
    std::mutex m_mutex;
    std::condition_variable m_woken;
    std::vector<std::pair<std::string, SteadyClock::time_point>> m_lines;
    size_t m_taken = 0;
};

// When the panel's state first showed knob 1 at the wanted value: the moment the pushes start
// from.
class KnobValueSeen : public PanelStateListener {
  public:
    void Expect(int value) {
        m_wanted = value;
        m_seen.reset();
    }
    void OnPanelState(const PanelState& state) override {
        if (!m_seen && state.knobs[0].value == m_wanted) {
            m_seen = SteadyClock::now();
        }
    }
    std::optional<SteadyClock::time_point> Seen() const { return m_seen; }

  private:
    int m_wanted = -1;
    std::optional<SteadyClock::time_point> m_seen;
};

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The process's CPU over `seconds` of the event loop with nothing to do, a share of a core.
double IdleCpuShare(int seconds) {
    const double before = CpuSeconds();
    const SteadyClock::time_point start = SteadyClock::now();
    RunEventsUntil([] { return false; }, seconds * 1000);
    return (CpuSeconds() - before) / (Ms(SteadyClock::now() - start) / 1000.0);
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    ::setenv("XDG_CONFIG_HOME", home.path().toLocal8Bit().constData(), 1);
    CTavrinoxApp vcpApp(argc, argv);
    SimProcess sim;
    // VCP_BENCH_UNITS puts other units on the line ("1:11,2:4,3:80,4:5": no empty address).
    const char* units = std::getenv("VCP_BENCH_UNITS");
    if (!StartLineOfUnits(sim, units != nullptr ? units : "1:11,2:4")) {
        return 1;
    }
    TurnRequestWatch watch;
    g_link.SetTracer(&watch);
    int status = 0;
    {
        LineBeside lineBeside;
        CTavrinoxDlg panel;
        panel.OnInitDialog();
        panel.show();
        if (!SelectUnitOneAndWait(panel)) {
            return 1;
        }
        KnobValueSeen seen;
        panel.Actions().AddListener(&seen);
        PanelRemote remote(panel);
        RemoteSettings settings;
        settings.enabled = true;
        settings.tcpPort = 0;
        settings.oscOn = false;
        if (!remote.Apply(settings).empty() || remote.Lines() == nullptr) {
            std::fprintf(stderr, "the line protocol did not start\n");
            return 1;
        }
        const quint16 port = remote.Lines()->Port();

        // A client's turn to its request on the wire, at random moments of the poll cycle.
        std::vector<double> turns_ms;
        std::atomic<bool> turnsDone = false;
        std::thread turner([&] {
            Client client(port);
            std::mt19937 random(7);
            for (int i = 0; client.Connected() && i < kTurnSamples; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(random() % 150));
                watch.Arm(SteadyClock::now());
                client.Send(i % 2 == 0 ? "TURN 1 1" : "TURN 1 -1");
                if (const auto took = watch.Wait()) {
                    turns_ms.push_back(Ms(*took));
                }
                client.WaitFor([](const std::string& line) { return line.rfind("OK", 0) == 0; });
            }
            turnsDone = true;
        });
        RunEventsUntil([&] { return turnsDone.load(); }, 120000);
        turner.join();
        Report("client TURN to its first request byte", turns_ms, kTurnSamples);

        // A unit's own change to the subscriber, through the next status poll.
        std::vector<double> changes_ms;
        std::vector<double> pushes_ms;
        {
            Client subscriber(port);
            subscriber.Send("SUBSCRIBE");
            subscriber.WaitFor([](const std::string& line) { return line == "STATE unit 1"; });
            std::mt19937 random(11);
            for (int i = 0; i < kChangeSamples; ++i) {
                RunEventsUntil([] { return false; }, static_cast<int>(random() % 100) + 50);
                const int value = 300 + 7 * i;
                seen.Expect(value);
                const SteadyClock::time_point asked = SteadyClock::now();
                sim.Control("set 1 0 " + std::to_string(value));
                const std::string wanted = " " + std::to_string(value) + " ";
                std::optional<SteadyClock::time_point> heard;
                std::atomic<bool> waited = false;
                std::thread waiter([&] {
                    heard = subscriber.WaitFor([&](const std::string& line) {
                        return line.rfind("STATE knob 1 ", 0) == 0 &&
                               line.find(wanted) != std::string::npos;
                    });
                    waited = true;
                });
                RunEventsUntil([&] { return waited.load(); }, 2500);
                waiter.join();
                if (heard) {
                    changes_ms.push_back(Ms(*heard - asked));
                }
                if (heard && seen.Seen()) {
                    pushes_ms.push_back(Ms(*heard - *seen.Seen()));
                }
            }
        }
        Report("unit's own change to the subscriber", changes_ms, kChangeSamples);
        Report("  of which the panel's state to the subscriber", pushes_ms, kChangeSamples);

        // Idle: one client, then twenty subscribed ones.
        const double oneClient = IdleCpuShare(kIdleSeconds);
        std::vector<std::unique_ptr<Client>> clients;
        for (int i = 0; i < kIdleClients; ++i) {
            clients.push_back(std::make_unique<Client>(port));
            clients.back()->Send("SUBSCRIBE");
        }
        RunEventsUntil([&] { return remote.Clients().size() == kIdleClients; }, 5000);
        RunEventsUntil([] { return false; }, 500);
        const double subscribed = IdleCpuShare(kIdleSeconds);
        std::printf("%-44s %5.2f %% of a core (no subscriber)\n", "idle panel, polling two units",
                    100.0 * oneClient);
        std::printf("%-44s %5.2f %% of a core (%zu connected)\n",
                    "idle panel with 20 subscribed clients", 100.0 * subscribed,
                    remote.Clients().size());
        status = turns_ms.size() == kTurnSamples && changes_ms.size() == kChangeSamples ? 0 : 1;
        clients.clear();
        RunEventsUntil([&] { return remote.Clients().empty(); }, 2000);
        panel.Actions().RemoveListener(&seen);
        panel.hide();
    }
    g_link.SetTracer(nullptr);
    return status;
}
