#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/SerialDevice.h"
#include "protocol/Status.h"

// What the panel does when the link cannot be opened while a unit is selected: the link is
// treated as lost (timer 3 stopped, the alert shown, every menu image marked not loaded,
// the unit-selection scan started). The panel implements it; tests use a fake.
class LinkLossReaction {
  public:
    virtual ~LinkLossReaction() = default;
    virtual void OnLinkLost() = 0;
};

enum class TraceDirection { Sent, Received };

// Sees every byte that crosses the link, for the probe's trace file.
class LinkTracer {
  public:
    virtual ~LinkTracer() = default;
    virtual void OnByte(TraceDirection direction, uint8_t byte) = 0;
};

extern const char* const g_comPortErrorCaption;    // "Com Port Error"
extern const char* const g_cantOpenComPortText;    // "Can't open Com Port.  Please select..."
extern const char* const g_timeoutsFailedCaption;  // "StCommTimeouts function failed"

// One serial port and its settings. The program-wide instance g_link carries every request;
// the bypass dialog owns a second one for its own port.
class CSerialCom {
  public:
    CSerialCom() = default;
    // The link's port stays open until the process ends; nothing closes it on shut-down.
    ~CSerialCom() = default;
    CSerialCom(const CSerialCom&) = delete;
    CSerialCom& operator=(const CSerialCom&) = delete;

    // True when the named port (COMn, a device path, tcp://host:port, inproc:NAME) opened.
    // When it does not: for g_link with a unit selected the loss reaction runs; otherwise a
    // stop box says the port cannot be opened, and why.
    [[nodiscard]] bool OpenPort(const std::string& name);
    // Applies the baud rate and the protocol's fixed line settings; false when they failed.
    [[nodiscard]] bool SetupPort(uint32_t baud);
    // Read time-out = multiplier * bytes + constant, write time-out = multiplier * bytes;
    // false when they could not be set.
    [[nodiscard]] bool SetPortTimeouts(uint32_t readMultiplier_ms, uint32_t readConstant_ms,
                                       uint32_t writeMultiplier_ms);
    // Ok, or WriteFailed when raising or clearing BREAK failed (also on a closed port).
    Status SendBreak();

    bool IsOpen() const { return m_port != nullptr; }
    void Close() { m_port.reset(); }
    const std::string& DeviceName() const { return m_deviceName; }
    const SerialSettings& Settings() const { return m_dcb; }
    const SerialTimeouts& Timeouts() const { return m_timeouts; }
    int LastResult() const { return m_lastResult; }

    // Single-byte transfers with the time-outs set above; a closed port fails.
    IoResult ReadByte(uint8_t& byte);
    IoResult WriteByte(uint8_t byte);
    bool SetBreak(bool on);

    void SetTracer(LinkTracer* tracer) { m_tracer = tracer; }

    static void SetLossReaction(LinkLossReaction* reaction);

  private:
    std::unique_ptr<SerialDevice> m_port;  // null when closed
    SerialSettings m_dcb;
    SerialTimeouts m_timeouts;
    int m_lastResult = 0;
    std::string m_deviceName;
    LinkTracer* m_tracer = nullptr;
};

// The link: every command of the protocol goes through it.
extern CSerialCom g_link;

// The only way the link is opened: closes it, opens "COM<number>" (or the run's override),
// sets 115200 baud and the 20 ms read / 10 ms write time-outs. True on success.
[[nodiscard]] bool ReopenPort(int portNumber);

// The panel's port number that the framing's recovery reopens; the panel keeps it current.
int LinkPortNumber();
