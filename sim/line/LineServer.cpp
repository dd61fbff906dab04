#include "sim/line/LineServer.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/Clock.h"

namespace {

constexpr uint32_t kNoiseBytesPerMs = 11;  // about what 115200 baud carries
constexpr int kIdlePoll_ms = 50;
constexpr size_t kMaxControlLine = 4096;

uint32_t Now() {
    return CurrentClock().TickCount();
}

int32_t Until(uint32_t due, uint32_t now) {
    return static_cast<int32_t>(due - now);
}

}  // namespace

void LineEndpoint::Decode(const uint8_t* bytes, size_t count, SimLine& line, AnswerSink& sink) {
    for (size_t i = 0; i < count; ++i) {
        line.Feed(bytes[i], sink);
    }
}

LineServer::LineServer(SimLine& line, LineEndpoint& endpoint)
    : m_line(line),
      m_endpoint(endpoint),
      m_control(line),
      m_scriptResume_ms(Now()),
      m_lastNoise_ms(Now()) {}

void LineServer::Send(const std::vector<uint8_t>& bytes, uint32_t delay_ms) {
    const uint32_t now = Now();
    uint32_t due = now;
    if (!m_toMaster.empty() && Until(m_toMaster.back().due_ms, now) > 0) {
        due = m_toMaster.back().due_ms;
    }
    due += delay_ms;
    for (uint8_t b : bytes) {
        m_toMaster.push_back({due, b});
    }
}

void LineServer::Execute(const std::string& command) {
    const ControlResult result = m_control.Execute(command);
    if (!result.ok) {
        std::fprintf(stderr, "error: %s\n", result.reply.c_str());
    } else if (!result.reply.empty()) {
        std::printf("%s\n", result.reply.c_str());
        std::fflush(stdout);
    }
    if (result.wait_ms > 0) {
        m_scriptResume_ms = Now() + result.wait_ms;
    }
    m_quit = m_quit || result.quit;
}

void LineServer::RunDueScript() {
    while (m_scriptNext < m_script.size() && Until(m_scriptResume_ms, Now()) <= 0 && !m_quit) {
        Execute(m_script[m_scriptNext++]);
    }
}

void LineServer::ReadControl() {
    char buffer[512];
    const ssize_t n = ::read(m_controlFd, buffer, sizeof buffer);
    if (n <= 0) {
        if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
            m_controlFd = -1;  // end of input: keep serving without control
        }
        return;
    }
    m_controlBuffer.append(buffer, static_cast<size_t>(n));
    if (m_controlBuffer.size() > kMaxControlLine &&
        m_controlBuffer.find('\n') == std::string::npos) {
        std::fprintf(stderr, "error: control line too long, dropped\n");
        m_controlBuffer.clear();
    }
    for (size_t end; (end = m_controlBuffer.find('\n')) != std::string::npos;) {
        const std::string command = m_controlBuffer.substr(0, end);
        m_controlBuffer.erase(0, end + 1);
        Execute(command);
    }
}

void LineServer::ReadMaster() {
    uint8_t buffer[512];
    const ssize_t n = ::read(m_endpoint.DataFd(), buffer, sizeof buffer);
    if (n > 0) {
        m_endpoint.Decode(buffer, static_cast<size_t>(n), m_line, *this);
    } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
        m_toMaster.clear();
        m_endpoint.OnDataClosed();
    }
}

void LineServer::WriteDue() {
    const uint32_t now = Now();
    std::vector<uint8_t> due;
    while (!m_toMaster.empty() && Until(m_toMaster.front().due_ms, now) <= 0) {
        due.push_back(m_toMaster.front().byte);
        m_toMaster.pop_front();
    }
    if (!due.empty() && m_endpoint.DataFd() >= 0) {
        // Nobody reading (a pseudo-terminal without its panel): the answer is lost, as on a
        // line without a master.
        (void)!::write(m_endpoint.DataFd(), due.data(), due.size());
    }
}

void LineServer::WriteNoise() {
    const uint32_t now = Now();
    const uint32_t elapsed = now - m_lastNoise_ms;
    m_lastNoise_ms = now;
    std::vector<uint8_t> noise;
    const uint32_t budget = std::min<uint32_t>(elapsed, 100) * kNoiseBytesPerMs;
    for (uint32_t i = 0; i < budget; ++i) {
        const std::optional<uint8_t> byte = m_line.NextNoiseByte();
        if (!byte) {
            break;
        }
        noise.push_back(*byte);
    }
    if (!noise.empty() && m_endpoint.DataFd() >= 0) {
        (void)!::write(m_endpoint.DataFd(), noise.data(), noise.size());
    }
}

int LineServer::PollTimeout_ms() const {
    int timeout = kIdlePoll_ms;
    const uint32_t now = Now();
    if (!m_toMaster.empty()) {
        timeout = std::min(timeout, std::max(0, Until(m_toMaster.front().due_ms, now)));
    }
    if (m_scriptNext < m_script.size()) {
        timeout = std::min(timeout, std::max(0, Until(m_scriptResume_ms, now)));
    }
    if (m_line.LineFaults().Active(FaultKind::Noise)) {
        timeout = std::min(timeout, 1);
    }
    return timeout;
}

int LineServer::Run(const volatile std::sig_atomic_t& stop) {
    while (!stop && !m_quit) {
        RunDueScript();
        pollfd fds[3];
        nfds_t count = 0;
        const int dataFd = m_endpoint.DataFd();
        const int watchFd = m_endpoint.WatchFd();
        const int dataSlot = dataFd >= 0 ? static_cast<int>(count) : -1;
        if (dataFd >= 0) {
            fds[count++] = {dataFd, POLLIN, 0};
        }
        const int watchSlot = watchFd >= 0 ? static_cast<int>(count) : -1;
        if (watchFd >= 0) {
            fds[count++] = {watchFd, POLLIN, 0};
        }
        const int controlSlot = m_controlFd >= 0 ? static_cast<int>(count) : -1;
        if (m_controlFd >= 0) {
            fds[count++] = {m_controlFd, POLLIN, 0};
        }
        const int ready = ::poll(fds, count, PollTimeout_ms());
        if (ready > 0) {
            if (dataSlot >= 0 && (fds[dataSlot].revents & (POLLIN | POLLHUP | POLLERR))) {
                ReadMaster();
            }
            if (watchSlot >= 0 && (fds[watchSlot].revents & POLLIN)) {
                m_endpoint.OnWatchReadable();
            }
            if (controlSlot >= 0 && (fds[controlSlot].revents & (POLLIN | POLLHUP))) {
                ReadControl();
            }
        }
        WriteNoise();
        WriteDue();
    }
    return 0;
}

MarkedByteDecoder::Event MarkedByteDecoder::Feed(uint8_t byte) {
    constexpr uint8_t kMark = 0xFF;
    switch (m_stage) {
        case Stage::Plain:
            if (byte == kMark) {
                m_stage = Stage::AfterMark;
                return {};
            }
            return {Kind::Data, byte};
        case Stage::AfterMark:
            if (byte == kMark) {
                m_stage = Stage::Plain;
                return {Kind::Data, kMark};
            }
            m_stage = Stage::AfterMarkZero;
            return {};
        case Stage::AfterMarkZero:
            m_stage = Stage::Plain;
            return {byte == 0 ? Kind::Break : Kind::Damaged, byte};
    }
    return {};
}
