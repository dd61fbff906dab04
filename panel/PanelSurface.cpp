#include "panel/PanelSurface.h"

#include <QMenu>

#include "console/PanelActions.h"
#include "controls/CInfoBar.h"
#include "dialogs/CSurfaceDialog.h"
#include "panel/CTavrinoxDlg.h"
#include "platform/midi/MidiConnection.h"

namespace {

// This program's name among the MIDI system's clients.
constexpr const char* kClientName = "vcp";

void Say(CTavrinoxDlg& panel, const std::string& text) {
    if (panel.InfoBar() != nullptr) {
        panel.Console().ShowMessage(text);
    }
}

}  // namespace

PanelSurface::PanelSurface(CTavrinoxDlg& panel, const SurfaceSettings& settings, bool connect)
    : m_panel(panel), m_connects(connect) {
    std::string why;
    if (!Apply(settings, &why)) {
        m_settings = settings;
        Connect();
        Say(m_panel, why);
    }
    m_panel.Actions().AddListener(this);
    // The panel keeps its context entries for its whole life; the surface may go first.
    m_panel.AddContextEntries([surface = QPointer<PanelSurface>(this)](QMenu& menu) {
        if (surface != nullptr) {
            menu.addAction(tr("Control surface..."), surface, &PanelSurface::OpenSettings);
        }
    });
}

PanelSurface::~PanelSurface() {
    m_panel.Actions().RemoveListener(this);
    m_connection.reset();
}

bool PanelSurface::Apply(const SurfaceSettings& settings, std::string* why) {
    const MappingRead read = LoadMapping(settings.mapping);
    if (!read.mapping) {
        if (why != nullptr) {
            *why = read.error;
        }
        return false;
    }
    const bool portsChanged = m_connection == nullptr || settings.enabled != m_settings.enabled ||
                              settings.input != m_settings.input ||
                              settings.output != m_settings.output ||
                              settings.system != m_settings.system;
    m_settings = settings;
    UseMapping(*read.mapping);
    if (portsChanged) {
        Connect();
    }
    return true;
}

void PanelSurface::UseMapping(Mapping mapping) {
    m_input.emplace(std::move(mapping));
    m_input->Follow(m_state);
    m_feedback.Forget();
    ShowFeedback();
}

void PanelSurface::Connect() {
    m_connection.reset();
    m_everPresent = false;
    if (!m_connects) {
        return;
    }
    MidiConnection::Handlers handlers;
    handlers.received = [this](const MidiConnection::Message& bytes) { OnMessage(bytes); };
    handlers.presence = [this](bool present) { OnPresence(present); };
    handlers.portsChanged = [this] {
        if (m_dialog != nullptr && m_connection != nullptr) {
            m_dialog->ShowPorts(m_connection->Ports());
        }
    };
    const bool enabled = m_settings.enabled;
    m_connection = std::make_unique<MidiConnection>(
        MidiSystemNamed(m_settings.system), kClientName, enabled ? m_settings.input : "",
        enabled ? m_settings.output : "", std::move(handlers));
}

bool PanelSurface::Present() const {
    return m_connection != nullptr && m_connection->Present();
}

void PanelSurface::OnPresence(bool present) {
    const std::string name = "\"" + m_settings.input + "\"";
    if (present) {
        if (m_everPresent) {
            Say(m_panel, "The control surface " + name + " is back.");
        }
        m_everPresent = true;
        m_feedback.Forget();
        ShowFeedback();
    } else if (m_everPresent) {
        Say(m_panel, "The control surface " + name + " is gone; the panel looks for it.");
    }
}

void PanelSurface::OnMessage(const std::vector<uint8_t>& bytes) {
    if (m_dialog != nullptr) {
        m_dialog->Learn(bytes);
        return;
    }
    if (!m_input) {
        return;
    }
    const ActionOrigin origin{ActionSource::Surface, m_settings.input};
    const ActionOutcome outcome = m_input->Handle(bytes, m_state, m_panel.Actions(), origin);
    // A refusal is said once, not at every detent of a knob that cannot turn.
    if (outcome.taken) {
        m_lastRefusal.clear();
    } else if (outcome.reason != m_lastRefusal) {
        m_lastRefusal = outcome.reason;
        Say(m_panel, outcome.reason);
    }
}

void PanelSurface::OnPanelState(const PanelState& state) {
    m_state = state;
    if (m_input) {
        m_input->Follow(state);
    }
    ShowFeedback();
}

void PanelSurface::ShowFeedback() {
    if (!m_input || m_connection == nullptr) {
        return;
    }
    for (MidiBytes& message : m_feedback.Update(m_input->CurrentMapping(), m_state)) {
        m_connection->Send(std::move(message));
    }
}

void PanelSurface::OpenSettings() {
    const MidiPorts ports = m_connection != nullptr ? m_connection->Ports() : MidiPorts{};
    std::vector<std::string> toggles;
    for (const ButtonState& toggle : m_state.toggles) {
        toggles.push_back(toggle.label);
    }
    CSurfaceDialog dialog(m_settings, ports, toggles, &m_panel);
    m_dialog = &dialog;
    const int result = dialog.exec();
    m_dialog = nullptr;
    if (result != QDialog::Accepted) {
        return;
    }
    std::string why;
    if (!Apply(dialog.ChosenSettings(), &why)) {
        Say(m_panel, why);
        return;
    }
    StoreSurfaceSettings(m_settings);
    if (dialog.LearnedMapping()) {
        // What was learned is the user's own from now on, under the mapping's stem.
        const std::string failed = SaveUserMapping(*dialog.LearnedMapping(), m_settings.mapping);
        if (!failed.empty()) {
            Say(m_panel, failed);
        }
        UseMapping(*dialog.LearnedMapping());
    }
}
