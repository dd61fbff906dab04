#include "link/SerialCom.h"

#include "link/LineCarrier.h"
#include "model/PanelModel.h"
#include "platform/Clock.h"
#include "platform/OpenFailure.h"
#include "platform/PortNames.h"
#include "platform/Prompter.h"

const char* const g_comPortErrorCaption = "Com Port Error";
const char* const g_cantOpenComPortText = "Can't open Com Port.  Please select another port.";
const char* const g_timeoutsFailedCaption = "StCommTimeouts function failed";

CSerialCom g_link;

namespace {

PortFailureReaction* g_failureReaction = nullptr;

uint32_t Now() {
    return CurrentClock().TickCount();
}

}  // namespace

void CSerialCom::SetFailureReaction(PortFailureReaction* reaction) {
    g_failureReaction = reaction;
}

bool CSerialCom::OpenPort(const std::string& name) {
    m_deviceName = PortNames().Resolve(name);
    OpenError error;
    SetPort(OpenSerialDevice(m_deviceName, error));
    m_lastByte_ms = Now();
    m_owed.Clear();
    if (m_port) {
        return true;
    }
    m_failure = {PortStep::Open, m_deviceName, error};
    return false;
}

bool CSerialCom::SetupPort(uint32_t baud) {
    SerialSettings settings;
    settings.baud = baud;
    m_lastResult = m_port && m_port->Configure(settings) ? 1 : 0;
    if (m_lastResult == 0) {
        m_failure = {PortStep::Setup, m_deviceName, {}};
        SetPort(nullptr);
        return false;
    }
    m_dcb = settings;
    return true;
}

bool CSerialCom::SetPortTimeouts(uint32_t readMultiplier_ms, uint32_t readConstant_ms,
                                 uint32_t writeMultiplier_ms) {
    SerialTimeouts timeouts;
    timeouts.readMultiplier_ms = readMultiplier_ms;
    timeouts.readConstant_ms = readConstant_ms;
    timeouts.writeMultiplier_ms = writeMultiplier_ms;
    m_lastResult = m_port && m_port->SetTimeouts(timeouts) ? 1 : 0;
    if (m_lastResult == 0) {
        m_failure = {PortStep::Timeouts, m_deviceName, {}};
        SetPort(nullptr);
        return false;
    }
    m_timeouts = timeouts;
    return true;
}

void CSerialCom::TakeOver(CSerialCom& staged) {
    SetPort(std::move(staged.m_port));
    staged.SetPort(nullptr);
    m_deviceName = staged.m_deviceName;
    m_dcb = staged.m_dcb;
    m_timeouts = staged.m_timeouts;
    m_lastResult = staged.m_lastResult;
    // As after an open here: a port that opened leaves the last failure as it was.
    if (!m_open) {
        m_failure = staged.m_failure;
    }
    m_lastByte_ms = staged.m_lastByte_ms;
    m_owed.Clear();
}

void CSerialCom::SetPort(std::unique_ptr<SerialDevice> port) {
    m_port = std::move(port);
    m_open = m_port != nullptr;
}

Status CSerialCom::SendBreak() {
    if (!SetBreak(true)) {
        return Status::WriteFailed;
    }
    return SetBreak(false) ? Status::Ok : Status::WriteFailed;
}

IoResult CSerialCom::ReadByte(uint8_t& byte) {
    return ReadByteWithin(byte, m_timeouts.ReadByteTimeout());
}

IoResult CSerialCom::ReadByteWithin(uint8_t& byte, uint32_t timeout_ms) {
    if (!m_port) {
        return IoResult::Failed;
    }
    const IoResult result = m_port->ReadByteWithin(byte, timeout_ms);
    if (result == IoResult::Done) {
        m_lastByte_ms = Now();
        if (m_tracer) {
            m_tracer->OnByte(TraceDirection::Received, byte);
        }
    }
    return result;
}

IoResult CSerialCom::WriteByte(uint8_t byte) {
    if (!m_port) {
        return IoResult::Failed;
    }
    const IoResult result = m_port->WriteByte(byte);
    if (result == IoResult::Done) {
        m_lastByte_ms = Now();
        if (m_tracer) {
            m_tracer->OnByte(TraceDirection::Sent, byte);
        }
    }
    return result;
}

bool CSerialCom::SetBreak(bool on) {
    return m_port && m_port->SetBreak(on);
}

uint32_t CSerialCom::QuietFor_ms() const {
    return Now() - m_lastByte_ms;
}

bool CSerialCom::TakeUnreportedFailure() {
    const bool unreported = m_failureUnreported;
    m_failureUnreported = false;
    return unreported;
}

void ShowPortFailure(const PortFailure& failure) {
    switch (failure.step) {
        case PortStep::Open:
            ShowStopBox(g_cantOpenComPortText, g_comPortErrorCaption,
                        ExplainOpenFailure(failure.device, failure.error));
            return;
        case PortStep::Setup:
            ShowStopBox(g_cantOpenComPortText, g_comPortErrorCaption);
            return;
        case PortStep::Timeouts:
            ShowStopBox(g_cantOpenComPortText, g_timeoutsFailedCaption);
            return;
    }
}

void ReportPortFailure(const PortFailure& failure) {
    if (g_failureReaction != nullptr) {
        g_failureReaction->OnPortFailed(failure);
    } else {
        ShowPortFailure(failure);
    }
}

int LinkPortNumber() {
    return g_panelModel.m_portNumber;
}
