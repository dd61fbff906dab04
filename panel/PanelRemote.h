#pragma once

#include <QObject>
#include <memory>
#include <string>
#include <vector>

#include "actions/PanelState.h"
#include "remote/RemoteSettings.h"

class CTavrinoxDlg;
class QMenu;
class LineProtocolServer;
class OscServer;

// Network control of the panel: runs the line protocol's and the OSC server while the
// user's settings turn them on, follows the panel's state for their subscribers, says on the
// information line when a client comes, leaves or is refused, and adds "Network control..."
// (with whether it is on) to the panel's context menu. Created after the panel and gone
// before it.
class PanelRemote : public QObject, public PanelStateListener {
    Q_OBJECT

  public:
    explicit PanelRemote(CTavrinoxDlg& panel);
    ~PanelRemote() override;

    // Why `settings` cannot be applied (an address or an allow-list that does not read);
    // empty when they can.
    static std::string SettingsProblem(const RemoteSettings& settings);
    // Stops the servers and starts those `settings` turn on; why one did not start, in the
    // information line's few words (StatusText says more), empty when all did.
    std::string Apply(const RemoteSettings& settings);
    const RemoteSettings& Settings() const { return m_settings; }
    // Where it listens and who is connected, for the settings dialog.
    std::string StatusText() const;
    std::vector<std::string> Clients() const;
    const LineProtocolServer* Lines() const { return m_lines.get(); }
    const OscServer* Osc() const { return m_osc.get(); }

    void OnPanelState(const PanelState& state) override;
    void OnActionRefused(const ActionOrigin& origin, const std::string& reason) override;

  private:
    void Stop();
    void Note(const std::string& text);
    void AddEntries(QMenu& menu);
    void OpenDialog();

    CTavrinoxDlg& m_panel;
    RemoteSettings m_settings;
    std::unique_ptr<LineProtocolServer> m_lines;
    std::unique_ptr<OscServer> m_osc;
    bool m_listening = false;
    std::vector<std::string> m_cannotListen;  // why a server could not take its port
};
