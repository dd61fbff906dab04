// The link's port opened again: in one go on the line (ReopenPort), or with the device's own
// opening aside so that nobody waits for it (StartReopen). Declared in link/SerialCom.h.
#include <mutex>
#include <vector>

#include "link/LineCarrier.h"
#include "link/SerialCom.h"
#include "platform/PortNames.h"

namespace {

// The link's line settings and per-byte time-outs.
constexpr uint32_t kLinkBaud = 115200;
constexpr uint32_t kReadPerByte_ms = 10;
constexpr uint32_t kReadConstant_ms = 10;
constexpr uint32_t kWritePerByte_ms = 10;

bool OpenForLink(CSerialCom& port, const std::string& name) {
    return port.OpenPort(name) && port.SetupPort(kLinkBaud) &&
           port.SetPortTimeouts(kReadPerByte_ms, kReadConstant_ms, kWritePerByte_ms);
}

// The reopenings asked for, numbered; only the last one asked for may end them all.
class Reopenings {
  public:
    using Done = std::function<void(const ReopenResult&)>;

    uint64_t Begin(Done done, bool aside) {
        const std::lock_guard lock(m_mutex);
        m_running = m_running || aside;
        m_result.reset();
        if (done) {
            m_waiting.push_back(std::move(done));
        } else if (aside) {
            m_keep = true;
        }
        return ++m_latest;
    }
    bool Superseded(uint64_t number) {
        const std::lock_guard lock(m_mutex);
        return number != m_latest;
    }
    // The link as reopening `number` left it, to everyone waiting, unless a later one runs.
    void End(uint64_t number) {
        std::vector<Done> waiting;
        const ReopenResult result{g_link.IsOpen(), g_link.LastFailure()};
        {
            const std::lock_guard lock(m_mutex);
            if (number != m_latest) {
                return;
            }
            m_running = false;
            waiting.swap(m_waiting);
            if (m_keep) {
                m_result = result;
            }
            m_keep = false;
        }
        for (const Done& done : waiting) {
            done(result);
        }
    }
    bool UnderWay() {
        const std::lock_guard lock(m_mutex);
        return m_running || m_result.has_value();
    }
    std::optional<ReopenResult> Take() {
        const std::lock_guard lock(m_mutex);
        std::optional<ReopenResult> taken;
        taken.swap(m_result);
        return taken;
    }

  private:
    std::mutex m_mutex;
    uint64_t m_latest = 0;
    bool m_running = false;
    bool m_keep = false;  // a reopening without `done` waits: the result is kept for Take
    std::vector<Done> m_waiting;
    std::optional<ReopenResult> m_result;
};

Reopenings& TheReopenings() {
    static Reopenings reopenings;
    return reopenings;
}

}  // namespace

// Opening may wait (a device server's connection): it runs on the line like an exchange.
bool ReopenPort(int portNumber) {
    return CarryOnLine({}, [portNumber] {
               const uint64_t number = TheReopenings().Begin({}, false);
               if (g_link.IsOpen()) {
                   g_link.Close();
               }
               const bool opened = OpenForLink(g_link, "COM" + std::to_string(portNumber));
               TheReopenings().End(number);
               return opened ? Status::Ok : Status::WriteFailed;
           }) == Status::Ok;
}

void StartReopen(int portNumber, std::function<void(const ReopenResult&)> done) {
    const uint64_t number = TheReopenings().Begin(std::move(done), true);
    // Resolved here: the thread aside touches nothing of the program's but its own port.
    const std::string device = PortNames().Resolve("COM" + std::to_string(portNumber));
    PostOnLine([number, device] {
        if (TheReopenings().Superseded(number)) {
            return;
        }
        g_link.Close();
        RunAside([number, device] {
            auto staged = std::make_shared<CSerialCom>();
            if (!TheReopenings().Superseded(number)) {
                static_cast<void>(OpenForLink(*staged, device));
            }
            PostOnLine([number, staged] {
                if (!TheReopenings().Superseded(number)) {
                    g_link.TakeOver(*staged);
                    TheReopenings().End(number);
                }
            });
        });
    });
}

bool ReopenUnderWay() {
    return TheReopenings().UnderWay();
}

std::optional<ReopenResult> TakeReopenResult() {
    return TheReopenings().Take();
}
