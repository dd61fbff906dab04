#include "panel/PanelSurface.h"

#include <QMenu>

#include "console/PanelActions.h"
#include "controls/CInfoBar.h"
#include "dialogs/CSurfaceDialog.h"
#include "panel/CTavrinoxDlg.h"
#include "platform/Clock.h"
#include "platform/midi/MidiConnection.h"

namespace {

// This program's name among the MIDI system's clients.
constexpr const char* kClientName = "vcp";
// A name on the information line is cut in its middle to this many characters, so the line's
// message fits in one line.
constexpr size_t kMostShownNameChars = 20;
constexpr const char* kCut = "...";

void Say(CTavrinoxDlg& panel, const std::string& text) {
    if (panel.InfoBar() != nullptr) {
        panel.Console().ShowMessage(text);
    }
}

// `name` cut in its middle to kMostShownNameChars, its start and end kept.
std::string Shortened(const std::string& name) {
    if (name.size() <= kMostShownNameChars) {
        return name;
    }
    const size_t kept = kMostShownNameChars - std::char_traits<char>::length(kCut);
    const size_t head = (kept + 1) / 2;
    return name.substr(0, head) + kCut + name.substr(name.size() - (kept - head));
}

// The controller as the information line names it: its port's device, before the colon.
std::string ControllerName(const std::string& port) {
    const size_t colon = port.find(':');
    return "\"" +
           Shortened(colon == std::string::npos || colon == 0 ? port : port.substr(0, colon)) +
           "\"";
}

}  // namespace

std::string MappingProblemLine(const std::string& named, const MappingRead& read) {
    if (read.file.empty()) {
        return "Surface: no mapping \"" + Shortened(named) + "\".";
    }
    const std::string file = Shortened(read.file);
    if (read.line == 0) {
        return "Surface: " + file + " does not open.";
    }
    return "Surface: " + file + " does not read (line " + std::to_string(read.line) + ").";
}

PanelSurface::PanelSurface(CTavrinoxDlg& panel, const SurfaceSettings& settings, bool connect)
    : m_panel(panel), m_connects(connect) {
    std::string why;
    if (!Apply(settings, &why)) {
        m_settings = settings;
        Connect();
        // Said again whenever the line falls idle while the surface is on and has no mapping:
        // the start-up's own messages would hide it.
        if (m_settings.enabled) {
            m_problem = why;
            Say(m_panel, why);
        }
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
            *why = MappingProblemLine(settings.mapping, read);
        }
        return false;
    }
    m_problem.clear();
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
    // A surface switched off opens no MIDI system: with a JACK server running, the panel is
    // no client of it.
    if (m_settings.enabled) {
        m_connection = OpenConnection(m_settings.input, m_settings.output);
    }
}

std::unique_ptr<MidiConnection> PanelSurface::OpenConnection(const std::string& input,
                                                             const std::string& output) {
    if (!m_connects) {
        return nullptr;
    }
    MidiConnection::Handlers handlers;
    handlers.received = [this](const MidiConnection::Message& bytes) { OnMessage(bytes); };
    handlers.presence = [this](bool present) { OnPresence(present); };
    handlers.portsChanged = [this] {
        if (m_dialog != nullptr && m_connection != nullptr) {
            m_dialog->ShowPorts(m_connection->Ports());
        }
    };
    return std::make_unique<MidiConnection>(MidiSystemNamed(m_settings.system), kClientName, input,
                                            output, std::move(handlers));
}

bool PanelSurface::Present() const {
    return m_connection != nullptr && m_connection->Present();
}

void PanelSurface::OnPresence(bool present) {
    const std::string name =
        ControllerName(m_settings.input.empty() ? m_settings.output : m_settings.input);
    if (present) {
        if (m_everPresent) {
            Say(m_panel, "Surface " + name + " is back.");
        }
        m_everPresent = true;
        m_feedback.Forget();
        ShowFeedback();
    } else if (m_everPresent) {
        Say(m_panel, "Surface " + name + " gone; looking for it.");
    }
}

void PanelSurface::OnMessage(const std::vector<uint8_t>& bytes) {
    // What a looped port sends back is the panel's own rings and lamps, not the user's.
    const std::optional<MidiEvent> event = ParseMidi(bytes);
    if (event && m_feedback.TakeEcho(*event, CurrentClock().TickCount())) {
        return;
    }
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
    if (!m_problem.empty() && state.infoLine.empty()) {
        Say(m_panel, m_problem);
    }
    if (m_input) {
        m_input->Follow(state);
    }
    ShowFeedback();
}

void PanelSurface::ShowFeedback() {
    if (!m_input || m_connection == nullptr) {
        return;
    }
    for (MidiBytes& message :
         m_feedback.Update(m_input->CurrentMapping(), m_state, CurrentClock().TickCount())) {
        m_connection->Send(std::move(message));
    }
}

void PanelSurface::OpenSettings() {
    // The settings list the machine's ports: a surface switched off looks for them only while
    // they are open.
    const bool listingOnly = m_connection == nullptr;
    if (listingOnly) {
        m_connection = OpenConnection({}, {});
    }
    const MidiPorts ports = m_connection != nullptr ? m_connection->Ports() : MidiPorts{};
    std::vector<std::string> toggles;
    for (const ButtonState& toggle : m_state.toggles) {
        toggles.push_back(toggle.label);
    }
    CSurfaceDialog dialog(m_settings, ports, toggles, &m_panel);
    m_dialog = &dialog;
    const int result = dialog.exec();
    m_dialog = nullptr;
    if (listingOnly) {
        m_connection.reset();
    }
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
