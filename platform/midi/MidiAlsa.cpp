// The ALSA sequencer through RtMidi. A port's full name ends in its client and port numbers,
// which ALSA may give again to a device plugged back within one look; so a watch on the
// sequencer's announcements counts each client's exits, and a port's identity is its
// numbers with that count.
#include <alsa/asoundlib.h>
#include <rtmidi/RtMidi.h>

#include <filesystem>
#include <map>

#include "platform/midi/MidiBackend.h"
#include "platform/midi/MidiConnection.h"

namespace {

constexpr const char* kInputPortName = "surface in";
constexpr const char* kOutputPortName = "surface out";

void SilentRtMidi(RtMidiError::Type, const std::string&, void*) {}

// The announcements of clients and ports that come and go, read without waiting.
class SequencerWatch {
  public:
    explicit SequencerWatch(const std::string& clientName) {
        if (snd_seq_open(&m_sequencer, "default", SND_SEQ_OPEN_INPUT, SND_SEQ_NONBLOCK) < 0) {
            m_sequencer = nullptr;
            return;
        }
        snd_seq_set_client_name(m_sequencer, (clientName + " watch").c_str());
        const int port = snd_seq_create_simple_port(
            m_sequencer, "announcements", SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_NO_EXPORT,
            SND_SEQ_PORT_TYPE_APPLICATION);
        if (port >= 0) {
            snd_seq_connect_from(m_sequencer, port, SND_SEQ_CLIENT_SYSTEM,
                                 SND_SEQ_PORT_SYSTEM_ANNOUNCE);
        }
    }
    ~SequencerWatch() {
        if (m_sequencer != nullptr) {
            snd_seq_close(m_sequencer);
        }
    }
    SequencerWatch(const SequencerWatch&) = delete;
    SequencerWatch& operator=(const SequencerWatch&) = delete;

    // Reads what was announced since the last call.
    void Drain() {
        snd_seq_event_t* event = nullptr;
        while (m_sequencer != nullptr && snd_seq_event_input(m_sequencer, &event) >= 0 &&
               event != nullptr) {
            if (event->type == SND_SEQ_EVENT_CLIENT_EXIT ||
                event->type == SND_SEQ_EVENT_PORT_EXIT) {
                ++m_exits[event->data.addr.client];
            }
        }
    }
    uint64_t Exits(int client) const {
        const auto found = m_exits.find(client);
        return found != m_exits.end() ? found->second : 0;
    }

  private:
    snd_seq_t* m_sequencer = nullptr;
    std::map<int, uint64_t> m_exits;
};

template <typename Port>
std::vector<MidiPortEntry> Entries(Port& port, const SequencerWatch& watch) {
    const auto exitsOf = [&watch](int client) { return watch.Exits(client); };
    std::vector<MidiPortEntry> entries;
    const unsigned count = port.getPortCount();
    for (unsigned i = 0; i < count; ++i) {
        std::string name = port.getPortName(i);
        const uint64_t identity = AlsaPortIdentity(name, exitsOf);
        entries.push_back({std::move(name), identity});
    }
    return entries;
}

// Opens the port of `port`'s system listed as `name`; false when there is none.
template <typename Port>
bool OpenListed(Port& port, const std::string& name, const char* ownName) {
    const unsigned count = port.getPortCount();
    for (unsigned i = 0; i < count; ++i) {
        if (port.getPortName(i) == name) {
            port.openPort(i, ownName);
            return port.isPortOpen();
        }
    }
    return false;
}

class AlsaBackend final : public MidiBackend {
  public:
    AlsaBackend(std::string clientName, Received received)
        : m_clientName(std::move(clientName)), m_received(std::move(received)) {}

    bool List(std::vector<MidiPortEntry>& sources, std::vector<MidiPortEntry>& destinations,
              std::string& why) override {
        sources.clear();
        destinations.clear();
        if (std::error_code error; !std::filesystem::exists(kSequencerDevice, error)) {
            why = "This machine has no MIDI sequencer device (" + std::string(kSequencerDevice) +
                  ").";
            return false;
        }
        try {
            if (m_sourceList == nullptr) {
                m_watch = std::make_unique<SequencerWatch>(m_clientName);
                m_sourceList = std::make_unique<RtMidiIn>(RtMidi::LINUX_ALSA, m_clientName);
                m_sourceList->setErrorCallback(SilentRtMidi);
                m_destinationList = std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, m_clientName);
                m_destinationList->setErrorCallback(SilentRtMidi);
            }
            m_watch->Drain();
            sources = Entries(*m_sourceList, *m_watch);
            destinations = Entries(*m_destinationList, *m_watch);
        } catch (const RtMidiError& error) {
            Close();
            m_sourceList.reset();
            m_destinationList.reset();
            why = "The MIDI system does not open: " + error.getMessage();
            return false;
        }
        return true;
    }

    bool Open(const std::string& source, const std::string& destination) override {
        Close();
        try {
            if (!source.empty()) {
                m_input = std::make_unique<RtMidiIn>(RtMidi::LINUX_ALSA, m_clientName);
                m_input->setErrorCallback(SilentRtMidi);
                m_input->ignoreTypes(true, true, true);
                m_input->setCallback(
                    [](double, std::vector<unsigned char>* message, void* self) {
                        const auto* backend = static_cast<AlsaBackend*>(self);
                        if (message != nullptr && backend->m_received) {
                            backend->m_received(*message);
                        }
                    },
                    this);
                if (!OpenListed(*m_input, source, kInputPortName)) {
                    Close();
                    return false;
                }
            }
            if (!destination.empty()) {
                m_output = std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, m_clientName);
                m_output->setErrorCallback(SilentRtMidi);
                if (!OpenListed(*m_output, destination, kOutputPortName)) {
                    Close();
                    return false;
                }
            }
        } catch (const RtMidiError&) {
            Close();
            return false;
        }
        return true;
    }

    void Close() override {
        m_input.reset();
        m_output.reset();
    }

    void Send(const std::vector<uint8_t>& message) override {
        if (m_output != nullptr) {
            m_output->sendMessage(&message);
        }
    }

  private:
    const std::string m_clientName;
    const Received m_received;
    std::unique_ptr<SequencerWatch> m_watch;
    std::unique_ptr<RtMidiIn> m_sourceList;
    std::unique_ptr<RtMidiOut> m_destinationList;
    std::unique_ptr<RtMidiIn> m_input;
    std::unique_ptr<RtMidiOut> m_output;
};

}  // namespace

std::unique_ptr<MidiBackend> MakeAlsaBackend(const std::string& clientName,
                                             MidiBackend::Received received) {
    return std::make_unique<AlsaBackend>(clientName, std::move(received));
}
