#include "panel/PanelRemote.h"

#include <QHostAddress>
#include <QMenu>
#include <QPointer>

#include "console/PanelActions.h"
#include "dialogs/CRemoteDialog.h"
#include "panel/CTavrinoxDlg.h"
#include "remote/ClientAllowList.h"
#include "remote/LineProtocolServer.h"
#include "remote/OscServer.h"

namespace {

constexpr const char* kNotePrefix = "Network control: ";

std::string Joined(const std::vector<std::string>& pieces, const char* separator) {
    std::string text;
    for (const std::string& piece : pieces) {
        text += (text.empty() ? "" : separator) + piece;
    }
    return text;
}

}  // namespace

std::string PanelRemote::SettingsProblem(const RemoteSettings& settings) {
    if (QHostAddress(QString::fromStdString(settings.listenAddress)).isNull()) {
        return "Listen on: \"" + settings.listenAddress +
               "\" is no address (127.0.0.1, 0.0.0.0, ::1).";
    }
    std::string error;
    static_cast<void>(ClientAllowList::Parse(settings.allowList, &error));
    return error.empty() ? error : "Allowed clients: " + error;
}

PanelRemote::PanelRemote(CTavrinoxDlg& panel) : m_panel(panel) {
    // The panel keeps its entries; once this owner is gone they add nothing.
    m_panel.AddContextEntries([self = QPointer<PanelRemote>(this)](QMenu& menu) {
        if (self) {
            self->AddEntries(menu);
        }
    });
    m_panel.Console().ShowStanding(Apply(ReadRemoteSettings()));
}

void PanelRemote::AddEntries(QMenu& menu) {
    QAction* open = menu.addAction(QStringLiteral("Network control..."));
    open->setObjectName(QStringLiteral("networkControlEntry"));
    connect(open, &QAction::triggered, this, &PanelRemote::OpenDialog);
    if (m_lines || m_osc) {
        const size_t clients = Clients().size();
        QAction* status = menu.addAction(
            QString::fromStdString("Network control is on: " + std::to_string(clients) +
                                   (clients == 1 ? " client" : " clients")));
        status->setEnabled(false);
    }
}

PanelRemote::~PanelRemote() {
    Stop();
}

void PanelRemote::Stop() {
    if (m_listening) {
        m_panel.Actions().RemoveListener(this);
        m_listening = false;
    }
    m_lines.reset();
    m_osc.reset();
}

std::string PanelRemote::Apply(const RemoteSettings& settings) {
    Stop();
    m_settings = settings;
    m_cannotListen.clear();
    if (!settings.enabled) {
        return {};
    }
    if (const std::string problem = SettingsProblem(settings); !problem.empty()) {
        return kNotePrefix + problem;
    }
    ServerOptions options;
    options.address.setAddress(QString::fromStdString(settings.listenAddress));
    options.allowList = ClientAllowList::Parse(settings.allowList);
    options.readOnly = settings.readOnly;
    const RemoteHooks hooks{
        &m_panel.Actions(), [this] { return m_panel.Actions().CurrentState(); },
        [this](const std::string& text) { Note(text); },
        [this](const std::string& problem) { m_cannotListen.push_back(problem); }};
    if (settings.lineOn) {
        options.port = static_cast<quint16>(settings.tcpPort);
        m_lines = std::make_unique<LineProtocolServer>(hooks, options);
        if (!m_lines->Listen()) {
            m_lines.reset();
        }
    }
    if (settings.oscOn) {
        options.port = static_cast<quint16>(settings.oscPort);
        m_osc = std::make_unique<OscServer>(hooks, options);
        if (!m_osc->Listen()) {
            m_osc.reset();
        }
    }
    if (m_lines || m_osc) {
        m_listening = true;
        m_panel.Actions().AddListener(this);
        Note("on, " + StatusText());
    }
    const std::string unbound = UnboundPortsLine(
        settings.lineOn && !m_lines ? std::optional(settings.tcpPort) : std::nullopt,
        settings.oscOn && !m_osc ? std::optional(settings.oscPort) : std::nullopt);
    return unbound.empty() ? unbound : kNotePrefix + unbound;
}

// A port that could not be taken is said until the settings are applied again.
std::string PanelRemote::StatusText() const {
    const std::string problems =
        m_cannotListen.empty() ? std::string() : "\n" + Joined(m_cannotListen, "\n");
    if (!m_lines && !m_osc) {
        return (m_settings.enabled ? "not listening" : "off") + problems;
    }
    std::vector<std::string> pieces;
    const std::string address = m_settings.listenAddress;
    if (m_lines) {
        pieces.push_back("TCP " + address + ":" + std::to_string(m_lines->Port()));
    }
    if (m_osc) {
        pieces.push_back("OSC " + address + ":" + std::to_string(m_osc->Port()));
    }
    return Joined(pieces, ", ") + (m_settings.readOnly ? " (read-only)" : "") + problems;
}

std::vector<std::string> PanelRemote::Clients() const {
    std::vector<std::string> clients = m_lines ? m_lines->Clients() : std::vector<std::string>{};
    if (m_osc) {
        for (std::string& client : m_osc->Clients()) {
            clients.push_back(std::move(client));
        }
    }
    return clients;
}

void PanelRemote::OnPanelState(const PanelState& state) {
    if (m_lines) {
        m_lines->StateChanged(state);
    }
    if (m_osc) {
        m_osc->StateChanged(state);
    }
}

void PanelRemote::Note(const std::string& text) {
    m_panel.Console().ShowMessage(text.rfind(kNotePrefix, 0) == 0 ? text : kNotePrefix + text);
}

// A queued command refused when its turn came: its client hears why.
void PanelRemote::OnActionRefused(const ActionOrigin& origin, const std::string& reason) {
    if (m_lines) {
        m_lines->ActionRefused(origin, reason);
    }
    if (m_osc) {
        m_osc->ActionRefused(origin, reason);
    }
}

void PanelRemote::OpenDialog() {
    std::string status = StatusText();
    const std::vector<std::string> clients = Clients();
    status += clients.empty() ? "\nNo clients." : "\nClients: " + Joined(clients, ", ");
    CRemoteDialog dialog(m_settings, status, &SettingsProblem, &m_panel);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    StoreRemoteSettings(dialog.Settings());
    m_panel.Console().ShowStanding(Apply(dialog.Settings()));
}
