#include "platform/InProcessLine.h"

#include "platform/Clock.h"

namespace {

int32_t Until(uint32_t due, uint32_t now) {
    return static_cast<int32_t>(due - now);
}

std::map<std::string, InProcessLine*>& Registry() {
    static std::map<std::string, InProcessLine*> lines;
    return lines;
}

class InProcessDevice final : public SerialDevice {
  public:
    explicit InProcessDevice(InProcessLine& line)
        : m_line(line), m_generation(line.NextGeneration()) {
        ++m_line.openDevices;
    }
    ~InProcessDevice() override { --m_line.openDevices; }

    bool Configure(const SerialSettings& settings) override {
        m_line.settings = settings;
        return true;
    }
    bool SetTimeouts(const SerialTimeouts& timeouts) override {
        m_line.timeouts = timeouts;
        m_timeouts = timeouts;
        return true;
    }
    IoResult ReadByte(uint8_t& byte) override {
        return ReadByteWithin(byte, m_timeouts.ReadByteTimeout());
    }
    IoResult ReadByteWithin(uint8_t& byte, uint32_t timeout_ms) override {
        if (m_line.IsBroken(m_generation)) {
            return IoResult::Failed;
        }
        return m_line.MasterRead(byte, timeout_ms);
    }
    IoResult WriteByte(uint8_t byte) override {
        if (m_line.IsBroken(m_generation)) {
            return IoResult::Failed;
        }
        return m_line.MasterWrite(byte);
    }
    bool SetBreak(bool on) override {
        return !m_line.IsBroken(m_generation) && m_line.MasterBreak(on);
    }

  private:
    InProcessLine& m_line;
    int m_generation;
    SerialTimeouts m_timeouts;
};

}  // namespace

void InProcessLine::SendToMaster(const std::vector<uint8_t>& bytes, uint32_t delay_ms) {
    const uint32_t now = CurrentClock().TickCount();
    uint32_t due = now;
    if (!m_toMaster.empty() && Until(m_toMaster.back().due, now) > 0) {
        due = m_toMaster.back().due;
    }
    due += delay_ms;
    for (uint8_t b : bytes) {
        m_toMaster.push_back({due, b});
    }
}

void InProcessLine::SendToMaster(uint8_t byte, uint32_t delay_ms) {
    SendToMaster(std::vector<uint8_t>{byte}, delay_ms);
}

std::vector<uint8_t> InProcessLine::TakeWritten() {
    std::vector<uint8_t> out;
    out.swap(m_written);
    return out;
}

IoResult InProcessLine::MasterRead(uint8_t& byte, uint32_t timeout_ms) {
    if (m_peer) {
        m_peer->OnMasterRead(*this);
    }
    if (failReads) {
        return IoResult::Failed;
    }
    Clock& clock = CurrentClock();
    const uint32_t now = clock.TickCount();
    if (!m_toMaster.empty()) {
        const int32_t wait = Until(m_toMaster.front().due, now);
        if (wait <= static_cast<int32_t>(timeout_ms)) {
            if (wait > 0) {
                clock.Sleep(static_cast<uint32_t>(wait));
            }
            byte = m_toMaster.front().byte;
            m_toMaster.pop_front();
            return IoResult::Done;
        }
    }
    clock.Sleep(timeout_ms);
    return IoResult::Nothing;
}

IoResult InProcessLine::MasterWrite(uint8_t byte) {
    if (failWrites) {
        return IoResult::Failed;
    }
    if (writesUntilFailure == 0) {
        return IoResult::Failed;
    }
    if (writesUntilFailure > 0) {
        --writesUntilFailure;
    }
    m_written.push_back(byte);
    if (m_peer) {
        m_peer->OnMasterByte(*this, byte);
    }
    return IoResult::Done;
}

bool InProcessLine::MasterBreak(bool on) {
    if (failWrites) {
        return false;
    }
    if (on) {
        ++m_breakCount;
    }
    if (m_peer) {
        m_peer->OnBreak(*this, on);
    }
    return true;
}

void RegisterInProcessLine(const std::string& name, InProcessLine* line) {
    Registry()[name] = line;
}

void UnregisterInProcessLine(const std::string& name) {
    Registry().erase(name);
}

InProcessLine* FindInProcessLine(const std::string& name) {
    auto it = Registry().find(name);
    return it == Registry().end() ? nullptr : it->second;
}

std::unique_ptr<SerialDevice> OpenInProcessDevice(const std::string& name, OpenError& error) {
    InProcessLine* line = FindInProcessLine(name);
    if (!line) {
        error = {OpenErrorKind::NotFound, "no in-process line named " + name};
        return nullptr;
    }
    if (line->onOpen) {
        line->onOpen();
    }
    ++line->openCount;
    if (line->refuseOpen || (line->exclusive && line->openDevices > 0)) {
        error = {OpenErrorKind::Busy, "in-process line " + name + " refused the open"};
        return nullptr;
    }
    return std::make_unique<InProcessDevice>(*line);
}
