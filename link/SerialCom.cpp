#include "link/SerialCom.h"

#include "model/PanelModel.h"
#include "platform/OpenFailure.h"
#include "platform/PortNames.h"
#include "platform/Prompter.h"

const char* const g_comPortErrorCaption = "Com Port Error";
const char* const g_cantOpenComPortText = "Can't open Com Port.  Please select another port.";
const char* const g_timeoutsFailedCaption = "StCommTimeouts function failed";

CSerialCom g_link;

namespace {

LinkLossReaction* g_lossReaction = nullptr;

}  // namespace

void CSerialCom::SetLossReaction(LinkLossReaction* reaction) {
    g_lossReaction = reaction;
}

bool CSerialCom::OpenPort(const std::string& name) {
    m_deviceName = PortNames().Resolve(name);
    OpenError error;
    m_port = OpenSerialDevice(m_deviceName, error);
    if (m_port) {
        return true;
    }
    // A link that fails while a unit is selected is a lost link. Another instance (the bypass
    // dialog's own port) says why it could not open: its failure says nothing of the link.
    if (this == &g_link && g_currentUnitAddress != 0) {
        if (g_lossReaction) {
            g_lossReaction->OnLinkLost();
        }
    } else {
        ShowStopBox(g_cantOpenComPortText, g_comPortErrorCaption,
                    ExplainOpenFailure(m_deviceName, error));
    }
    return false;
}

bool CSerialCom::SetupPort(uint32_t baud) {
    SerialSettings settings;
    settings.baud = baud;
    m_lastResult = m_port && m_port->Configure(settings) ? 1 : 0;
    if (m_lastResult == 0) {
        ShowStopBox(g_cantOpenComPortText, g_comPortErrorCaption);
        m_port.reset();
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
        ShowStopBox(g_cantOpenComPortText, g_timeoutsFailedCaption);
        m_port.reset();
        return false;
    }
    m_timeouts = timeouts;
    return true;
}

Status CSerialCom::SendBreak() {
    if (!SetBreak(true)) {
        return Status::WriteFailed;
    }
    return SetBreak(false) ? Status::Ok : Status::WriteFailed;
}

IoResult CSerialCom::ReadByte(uint8_t& byte) {
    if (!m_port) {
        return IoResult::Failed;
    }
    const IoResult result = m_port->ReadByte(byte);
    if (result == IoResult::Done && m_tracer) {
        m_tracer->OnByte(TraceDirection::Received, byte);
    }
    return result;
}

IoResult CSerialCom::WriteByte(uint8_t byte) {
    if (!m_port) {
        return IoResult::Failed;
    }
    const IoResult result = m_port->WriteByte(byte);
    if (result == IoResult::Done && m_tracer) {
        m_tracer->OnByte(TraceDirection::Sent, byte);
    }
    return result;
}

bool CSerialCom::SetBreak(bool on) {
    return m_port && m_port->SetBreak(on);
}

bool ReopenPort(int portNumber) {
    if (g_link.IsOpen()) {
        g_link.Close();
    }
    const std::string name = "COM" + std::to_string(portNumber);
    return g_link.OpenPort(name) && g_link.SetupPort(115200) && g_link.SetPortTimeouts(10, 10, 10);
}

int LinkPortNumber() {
    return g_panelModel.m_portNumber;
}
