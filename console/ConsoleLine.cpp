// The controller on the line: its hooks into the link, the port opened at start-up and by
// the setup key, aside from the window.
#include "console/LineBeside.h"
#include "console/PanelConsole.h"
#include "console/PanelView.h"
#include "link/LineWork.h"
#include "platform/WindowWait.h"

PanelConsole::~PanelConsole() {
    CSerialCom::SetFailureReaction(nullptr);
    LineBeside::SetWaitView({});
    LineWork::SetReport({});
}

void PanelConsole::AttachToLine() {
    CSerialCom::SetFailureReaction(this);
    LineBeside::SetWaitView([this](const LineTask& task, uint32_t waited_ms, bool inputWaits,
                                   bool done) { ShowLineWait(task, waited_ms, inputWaits, done); });
    LineWork::SetReport([this](const std::string& what, int unit) { ShowGivenUp(what, unit); });
    m_pollHandler.SetLampBits(g_panelModel.m_lampBits);
}

// The port may take a while to open (a device server), and the search takes the line for a
// moment: aside, the window shows first and answers while the port opens.
void PanelConsole::OpenPortAndSearch(PortOpening opening, std::function<void()> afterSearch) {
    auto searchWhenOpen = [this, afterSearch = std::move(afterSearch)](bool opened) {
        if (!opened) {
            OnPortFailed(g_link.LastFailure());
        }
        StartUnitSearch();
        if (afterSearch) {
            WindowWait::WhenIdle(&m_lineContext, afterSearch);
        }
    };
    if (opening == PortOpening::Now) {
        searchWhenOpen(ReopenPort(g_panelModel.m_portNumber));
        return;
    }
    WindowWait::WhenIdle(&m_lineContext, [this, searchWhenOpen = std::move(searchWhenOpen)] {
        ReopenPortAside(g_panelModel.m_portNumber, &m_lineContext, searchWhenOpen);
    });
}

// The chosen port opens aside (a device server may take seconds to answer): the window
// answers meanwhile, and the polls wait until it is open or has failed.
void PanelConsole::RunPortSetupKey() {
    StopPolling();
    const std::optional<int> chosen = m_view.RunPortSetup(g_panelModel.m_portNumber & 0xFFFF);
    if (!chosen) {
        ResumePolling();
        return;
    }
    const std::string before = m_message;
    ShowMessage("Opening COM" + std::to_string(*chosen) + " ...");
    ReopenPortAside(*chosen, &m_lineContext, [this, port = *chosen, before](bool opened) {
        ShowMessage(before);
        if (opened) {
            g_panelModel.m_portNumber = port;
        } else {
            ReportPortFailure(g_link.LastFailure());
        }
        ResumePolling();
    });
}
