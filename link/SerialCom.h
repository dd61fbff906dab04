#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "protocol/Status.h"

#include "link/OwedAnswers.h"
#include "platform/SerialDevice.h"

// Which step of opening a port failed.
enum class PortStep { Open, Setup, Timeouts };

// Why a port did not open, for whoever tells the user.
struct PortFailure {
    PortStep step = PortStep::Open;
    std::string device;  // the resolved device name
    OpenError error;     // the system's reason, for the open step
};

// What the window does when the link's own reopening (the first byte of a request failed)
// could not open the port again. The link reports it once the exchange is done, on the
// thread that asked for the exchange; the panel decides between the lost link and a box.
class PortFailureReaction {
  public:
    virtual ~PortFailureReaction() = default;
    virtual void OnPortFailed(const PortFailure& failure) = 0;
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

    // True when the named port (COMn, a device path, tcp://host:port, inproc:NAME) opened;
    // else LastFailure() says why. Shows nothing: the caller tells the user.
    [[nodiscard]] bool OpenPort(const std::string& name);
    // Applies the baud rate and the protocol's fixed line settings; false, with the port
    // closed, when they failed.
    [[nodiscard]] bool SetupPort(uint32_t baud);
    // Read time-out = multiplier * bytes + constant, write time-out = multiplier * bytes;
    // false, with the port closed, when they could not be set.
    [[nodiscard]] bool SetPortTimeouts(uint32_t readMultiplier_ms, uint32_t readConstant_ms,
                                       uint32_t writeMultiplier_ms);
    // Ok, or WriteFailed when raising or clearing BREAK failed (also on a closed port).
    Status SendBreak();

    // Any thread: the window asks while the line's thread may be opening the port.
    bool IsOpen() const { return m_open; }
    void Close() { SetPort(nullptr); }
    // Becomes the port `staged` opened and set up away from the line, with its device name,
    // settings and failure, and owes no answers; `staged` is left closed.
    void TakeOver(CSerialCom& staged);
    const std::string& DeviceName() const { return m_deviceName; }
    const SerialSettings& Settings() const { return m_dcb; }
    const SerialTimeouts& Timeouts() const { return m_timeouts; }
    int LastResult() const { return m_lastResult; }
    const PortFailure& LastFailure() const { return m_failure; }

    // Single-byte transfers with the time-outs set above; a closed port fails.
    IoResult ReadByte(uint8_t& byte);
    IoResult WriteByte(uint8_t byte);
    // One byte within `timeout_ms` instead of the read time-out; 0 takes only what is there.
    IoResult ReadByteWithin(uint8_t& byte, uint32_t timeout_ms);
    bool SetBreak(bool on);
    // How long no byte has crossed the port either way (since the open, before any byte).
    uint32_t QuietFor_ms() const;

    void SetTracer(LinkTracer* tracer) { m_tracer = tracer; }

    // The answers the units on this port still owe; a port opened afresh starts owing none.
    OwedAnswers& Owed() { return m_owed; }

    // A reopening inside an exchange that failed and has not been reported yet; taking it
    // clears it.
    void NoteFailureUnreported() { m_failureUnreported = true; }
    bool TakeUnreportedFailure();

    static void SetFailureReaction(PortFailureReaction* reaction);

  private:
    void SetPort(std::unique_ptr<SerialDevice> port);

    std::unique_ptr<SerialDevice> m_port;  // null when closed
    std::atomic<bool> m_open{false};       // m_port is set
    SerialSettings m_dcb;
    SerialTimeouts m_timeouts;
    int m_lastResult = 0;
    std::string m_deviceName;
    LinkTracer* m_tracer = nullptr;
    PortFailure m_failure;
    bool m_failureUnreported = false;
    uint32_t m_lastByte_ms = 0;  // tick of the last byte read or written, or of the open
    OwedAnswers m_owed;
};

// The stop box that says a port could not be opened, with the reason and what to do.
void ShowPortFailure(const PortFailure& failure);
// The link's port could not be opened: the installed reaction decides, a box without one.
void ReportPortFailure(const PortFailure& failure);

// The link: every command of the protocol goes through it.
extern CSerialCom g_link;

// The only way the link is opened: closes it, opens "COM<number>" (or the run's override),
// sets 115200 baud and the 20 ms read / 10 ms write time-outs. True on success; else
// g_link.LastFailure() says why, and nothing has been shown. It waits for the open on the
// line; a reopening started aside (StartReopen) that has not ended gives way to it.
[[nodiscard]] bool ReopenPort(int portNumber);

// What a reopening started aside came to: whether the port is open, else why not.
struct ReopenResult {
    bool opened = false;
    PortFailure failure;
};

// Reopens the link as ReopenPort does without waiting for it: the link is closed on the line,
// the device opened and set up on the carrier's thread aside (a name look-up, a connect, a
// device server's negotiation may take seconds there), and the link takes it over on the
// line. Returns at once; `done`, when given, runs on the line's thread once the port is open
// or failed, else the result is kept for TakeReopenResult. A later reopening supersedes one
// that has not ended: `done` then gets the later one's result. Without a carrier it all runs
// here, before StartReopen returns.
void StartReopen(int portNumber, std::function<void(const ReopenResult&)> done = {});
// Whether a reopening started aside has not ended, or its result has not been taken. The
// framing's own recovery leaves the port to it meanwhile.
bool ReopenUnderWay();
// The result of the reopenings started without `done`, once they have ended; taken once. A
// reopening since (ReopenPort or StartReopen) drops it.
std::optional<ReopenResult> TakeReopenResult();

// The panel's port number that the framing's recovery reopens; the panel keeps it current.
int LinkPortNumber();
