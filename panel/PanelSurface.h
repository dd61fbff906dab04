#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

#include "actions/PanelState.h"
#include "app/SurfaceSettings.h"
#include "surface/SurfaceFeedback.h"
#include "surface/SurfaceInput.h"

class CTavrinoxDlg;
struct MappingRead;
class CSurfaceDialog;
class MidiConnection;

// What the information line says of the mapping `named` that `read` refused, in one line:
// the file and the line at fault, or that no mapping has that name.
std::string MappingProblemLine(const std::string& named, const MappingRead& read);

// The panel's control surface: a MIDI controller whose knobs turn the panel's knobs and
// whose buttons press its buttons and keys, through a mapping, while its rings and lamps
// follow the panel. It acts through the panel's named actions (a surface's, named by its
// port) and follows the panel's state; it adds "Control surface..." to the panel's context
// menu. Created after the panel and destroyed before it.
class PanelSurface : public QObject, public PanelStateListener {
    Q_OBJECT

  public:
    // Uses `settings`; a mapping that does not read leaves the surface idle and says why on
    // the information line, again whenever the line falls idle, while the surface is on. The
    // MIDI system is opened only while the surface is on (or its settings are open).
    // `connect` false opens no MIDI system at all (tests of the panel hand messages to
    // OnMessage themselves).
    PanelSurface(CTavrinoxDlg& panel, const SurfaceSettings& settings, bool connect = true);
    ~PanelSurface() override;

    // Uses `settings` from now on: the mapping read again, the ports looked for by their new
    // names. False, with the reason, when the mapping does not read; nothing changes then.
    bool Apply(const SurfaceSettings& settings, std::string* why = nullptr);
    // Uses `mapping` (learned) in place of the one of the settings.
    void UseMapping(Mapping mapping);

    // A message from the surface, on the window's thread.
    void OnMessage(const std::vector<uint8_t>& bytes);
    void OnPanelState(const PanelState& state) override;

    // Opens the settings dialog (modal); applies and stores what it returns.
    void OpenSettings();

    const SurfaceSettings& Settings() const { return m_settings; }
    bool HasMapping() const { return m_input.has_value(); }
    // Whether the controller's ports are open.
    bool Present() const;

  private:
    void Connect();
    std::unique_ptr<MidiConnection> OpenConnection(const std::string& input,
                                                   const std::string& output);
    void OnPresence(bool present);
    void ShowFeedback();

    CTavrinoxDlg& m_panel;
    const bool m_connects;
    SurfaceSettings m_settings;
    std::optional<SurfaceInput> m_input;
    SurfaceFeedback m_feedback;
    PanelState m_state;
    std::unique_ptr<MidiConnection> m_connection;
    bool m_everPresent = false;
    std::string m_lastRefusal;
    std::string m_problem;              // why the surface, switched on, has no mapping
    QPointer<CSurfaceDialog> m_dialog;  // while the settings are open, it learns from the messages
};
