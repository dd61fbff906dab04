#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/SerialDevice.h"

class InProcessLine;

// The far end of an in-process line: a simulated line of units or a scripted test peer.
class LinePeer {
  public:
    virtual ~LinePeer() = default;
    // The master wrote one byte.
    virtual void OnMasterByte(InProcessLine& line, uint8_t byte) = 0;
    // The master raised (on) or cleared the BREAK condition.
    virtual void OnBreak(InProcessLine& line, bool on) {
        (void)line;
        (void)on;
    }
    // Called before every read of the master, so a peer can keep a line busy (noise).
    virtual void OnMasterRead(InProcessLine& line) { (void)line; }
};

// A serial line inside the process, timed by the current clock: a read that finds no byte
// due within its time-out advances the clock by the time-out and reports nothing, so a
// silent unit costs no real time in tests.
class InProcessLine {
  public:
    explicit InProcessLine(LinePeer* peer = nullptr) : m_peer(peer) {}

    void SetPeer(LinePeer* peer) { m_peer = peer; }
    LinePeer* Peer() const { return m_peer; }

    // Queues bytes for the master, the first arriving `delay_ms` after the last queued byte
    // (or after now, when nothing is queued).
    void SendToMaster(const std::vector<uint8_t>& bytes, uint32_t delay_ms = 0);
    void SendToMaster(uint8_t byte, uint32_t delay_ms = 0);
    void ClearToMaster() { m_toMaster.clear(); }
    size_t PendingToMaster() const { return m_toMaster.size(); }

    // Everything the master wrote since the last TakeWritten, and the break calls seen.
    std::vector<uint8_t> TakeWritten();
    const std::vector<uint8_t>& Written() const { return m_written; }
    int BreakCount() const { return m_breakCount; }

    // Fault switches for tests: open refused, writes or reads failing (as after a line error).
    bool refuseOpen = false;
    bool failWrites = false;
    bool failReads = false;
    // When not negative: this many more writes succeed, then every write fails.
    int writesUntilFailure = -1;

    // A second open while a device is open is refused, as an exclusive port refuses it.
    bool exclusive = false;
    // Called at every open before the line takes it or refuses it: a test may let time pass
    // there, or hold the open as a device server that does not answer holds it.
    std::function<void()> onOpen;
    // Devices open now fail every later call until reopened, as after a line error.
    void BreakOpenDevices() { m_brokenUpTo = m_openGeneration; }
    bool IsBroken(int generation) const { return generation <= m_brokenUpTo; }
    int NextGeneration() { return ++m_openGeneration; }

    // Counters for tests.
    int openCount = 0;
    int openDevices = 0;

    // Master side, used by the device.
    IoResult MasterRead(uint8_t& byte, uint32_t timeout_ms);
    IoResult MasterWrite(uint8_t byte);
    bool MasterBreak(bool on);

    SerialSettings settings;
    SerialTimeouts timeouts;

  private:
    struct Timed {
        uint32_t due;
        uint8_t byte;
    };
    LinePeer* m_peer;
    std::deque<Timed> m_toMaster;
    std::vector<uint8_t> m_written;
    int m_breakCount = 0;
    int m_openGeneration = 0;
    int m_brokenUpTo = 0;
};

// Named lines that OpenSerialDevice reaches as "inproc:NAME". Registration does not take
// ownership; a test or the simulator keeps the line alive while it is registered.
void RegisterInProcessLine(const std::string& name, InProcessLine* line);
void UnregisterInProcessLine(const std::string& name);
InProcessLine* FindInProcessLine(const std::string& name);

std::unique_ptr<SerialDevice> OpenInProcessDevice(const std::string& name, OpenError& error);
