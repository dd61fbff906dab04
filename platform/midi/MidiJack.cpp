// A JACK server as one client of this program's, "<client>:surface in" and
// "<client>:surface out", connected to the controller's ports; the identity of the client
// that owns a port tells a controller plugged back from the one that went.
#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>
#include <jack/uuid.h>

#include <algorithm>
#include <atomic>

#include "platform/midi/MidiBackend.h"

namespace {

constexpr const char* kInputPortName = "surface in";
constexpr const char* kOutputPortName = "surface out";
// What waits for the server's next cycle: a few hundred rings and lamps.
constexpr size_t kOutgoingBytes = 16 * 1024;
constexpr size_t kMostMessageBytes = 255;  // one length byte before each message

void Silent(const char*) {}

class JackBackend final : public MidiBackend {
  public:
    JackBackend(std::string clientName, Received received)
        : m_clientName(std::move(clientName)), m_received(std::move(received)) {
        jack_set_error_function(Silent);
        jack_set_info_function(Silent);
    }
    ~JackBackend() override { CloseClient(); }

    bool List(std::vector<MidiPortEntry>& sources, std::vector<MidiPortEntry>& destinations,
              std::string& why) override {
        sources.clear();
        destinations.clear();
        if (m_gone) {
            CloseClient();
        }
        if (m_client == nullptr && !OpenClient()) {
            why = "No JACK server runs on this machine.";
            return false;
        }
        sources = Ports(JackPortIsOutput);
        destinations = Ports(JackPortIsInput);
        return true;
    }

    bool Open(const std::string& source, const std::string& destination) override {
        Close();
        if (m_client == nullptr) {
            return false;
        }
        if (!source.empty()) {
            if (jack_connect(m_client, source.c_str(), jack_port_name(m_in)) != 0) {
                return false;
            }
            m_source = source;
        }
        if (!destination.empty()) {
            if (jack_connect(m_client, jack_port_name(m_out), destination.c_str()) != 0) {
                Close();
                return false;
            }
            m_destination = destination;
        }
        return true;
    }

    void Close() override {
        if (m_client != nullptr && !m_gone) {
            if (!m_source.empty()) {
                jack_disconnect(m_client, m_source.c_str(), jack_port_name(m_in));
            }
            if (!m_destination.empty()) {
                jack_disconnect(m_client, jack_port_name(m_out), m_destination.c_str());
            }
        }
        m_source.clear();
        m_destination.clear();
    }

    void Send(const std::vector<uint8_t>& message) override {
        if (m_outgoing == nullptr || m_destination.empty() || message.empty() ||
            message.size() > kMostMessageBytes) {
            return;
        }
        if (jack_ringbuffer_write_space(m_outgoing) < message.size() + 1) {
            return;
        }
        const auto length = static_cast<char>(message.size());
        jack_ringbuffer_write(m_outgoing, &length, 1);
        jack_ringbuffer_write(m_outgoing, reinterpret_cast<const char*>(message.data()),
                              message.size());
    }

  private:
    bool OpenClient() {
        m_gone = false;
        m_client = jack_client_open(m_clientName.c_str(), JackNoStartServer, nullptr);
        if (m_client == nullptr) {
            return false;
        }
        m_in = jack_port_register(m_client, kInputPortName, JACK_DEFAULT_MIDI_TYPE, JackPortIsInput,
                                  0);
        m_out = jack_port_register(m_client, kOutputPortName, JACK_DEFAULT_MIDI_TYPE,
                                   JackPortIsOutput, 0);
        m_outgoing = jack_ringbuffer_create(kOutgoingBytes);
        if (m_in == nullptr || m_out == nullptr || m_outgoing == nullptr) {
            CloseClient();
            return false;
        }
        jack_on_shutdown(
            m_client, [](void* self) { static_cast<JackBackend*>(self)->m_gone = true; }, this);
        jack_set_process_callback(
            m_client,
            [](jack_nframes_t frames, void* self) {
                static_cast<JackBackend*>(self)->Process(frames);
                return 0;
            },
            this);
        if (jack_activate(m_client) != 0) {
            CloseClient();
            return false;
        }
        return true;
    }

    void CloseClient() {
        if (m_client != nullptr) {
            jack_client_close(m_client);
            m_client = nullptr;
        }
        if (m_outgoing != nullptr) {
            jack_ringbuffer_free(m_outgoing);
            m_outgoing = nullptr;
        }
        m_in = nullptr;
        m_out = nullptr;
        m_source.clear();
        m_destination.clear();
    }

    // The identity of the client that owns the port `name`: the server numbers its clients
    // afresh for each that comes, where a port's own number is taken again.
    uint64_t ClientIdentity(const std::string& name) const {
        const std::string client = name.substr(0, name.find(':'));
        char* text = jack_get_uuid_for_client_name(m_client, client.c_str());
        jack_uuid_t identity = 0;
        if (text != nullptr) {
            jack_uuid_parse(text, &identity);
            jack_free(text);
        }
        return identity;
    }

    // The server's MIDI ports of `direction` but this program's own.
    std::vector<MidiPortEntry> Ports(unsigned long direction) const {
        std::vector<MidiPortEntry> entries;
        const char** names = jack_get_ports(m_client, nullptr, JACK_DEFAULT_MIDI_TYPE, direction);
        for (const char** name = names; name != nullptr && *name != nullptr; ++name) {
            const jack_port_t* port = jack_port_by_name(m_client, *name);
            if (port != nullptr && jack_port_is_mine(m_client, port) == 0) {
                entries.push_back({*name, ClientIdentity(*name)});
            }
        }
        jack_free(static_cast<void*>(names));
        return entries;
    }

    // The server's cycle, on its thread: what came in goes to the window, what waits goes out.
    void Process(jack_nframes_t frames) {
        void* in = jack_port_get_buffer(m_in, frames);
        const uint32_t count = jack_midi_get_event_count(in);
        for (uint32_t index = 0; index < count; ++index) {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, in, index) == 0 && event.size > 0 && m_received) {
                m_received(std::vector<uint8_t>(event.buffer, event.buffer + event.size));
            }
        }
        void* out = jack_port_get_buffer(m_out, frames);
        jack_midi_clear_buffer(out);
        unsigned char message[kMostMessageBytes];
        while (jack_ringbuffer_read_space(m_outgoing) > 0) {
            char length = 0;
            jack_ringbuffer_peek(m_outgoing, &length, 1);
            const size_t size = static_cast<unsigned char>(length);
            if (jack_ringbuffer_read_space(m_outgoing) < size + 1) {
                break;
            }
            jack_ringbuffer_read_advance(m_outgoing, 1);
            jack_ringbuffer_read(m_outgoing, reinterpret_cast<char*>(message), size);
            if (jack_midi_event_write(out, 0, message, size) != 0) {
                break;  // the cycle is full; the rest is lost as on a full cable
            }
        }
    }

    const std::string m_clientName;
    const Received m_received;
    jack_client_t* m_client = nullptr;
    jack_port_t* m_in = nullptr;
    jack_port_t* m_out = nullptr;
    jack_ringbuffer_t* m_outgoing = nullptr;  // one length byte, then the message
    std::atomic<bool> m_gone{false};          // the server shut down
    std::string m_source;                     // the ports connected, in full
    std::string m_destination;
};

}  // namespace

std::unique_ptr<MidiBackend> MakeJackBackend(const std::string& clientName,
                                             MidiBackend::Received received) {
    return std::make_unique<JackBackend>(clientName, std::move(received));
}
