#pragma once

#include <jack/jack.h>
#include <rtmidi/RtMidi.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

// A MIDI controller on JACK for the surface's tests and benchmarks: it sends on
// "<name>:controller out" and keeps the last value of each control change it receives on
// "<name>-rings:controller in", with when it came. Each RtMidi object is a JACK client of its
// own, named apart so their ports' names are known.
class JackController {
  public:
    using Clock = std::chrono::steady_clock;
    struct Received {
        int value = -1;
        Clock::time_point at;
    };

    explicit JackController(const std::string& name)
        : m_out(RtMidi::UNIX_JACK, name), m_in(RtMidi::UNIX_JACK, name + "-rings") {
        m_out.openVirtualPort("controller out");
        m_in.setCallback(
            [](double, std::vector<unsigned char>* message, void* self) {
                auto* controller = static_cast<JackController*>(self);
                if (message->size() == 3 && ((*message)[0] & 0xF0) == 0xB0) {
                    const std::lock_guard lock(controller->m_mutex);
                    controller->m_rings[(*message)[1]] = {(*message)[2], Clock::now()};
                }
            },
            this);
        m_in.openVirtualPort("controller in");
    }

    // The ports the surface opens to reach this controller.
    static std::string OutPort(const std::string& name) { return name + ":controller out"; }
    static std::string InPort(const std::string& name) { return name + "-rings:controller in"; }

    void Send(std::vector<unsigned char> message) { m_out.sendMessage(&message); }
    // The last value of each control change received, by controller number.
    std::map<int, Received> Rings() {
        const std::lock_guard lock(m_mutex);
        return m_rings;
    }

    // Whether a JACK server answers (none is started).
    static bool ServerRuns() {
        jack_client_t* client = jack_client_open("vcp-test-probe", JackNoStartServer, nullptr);
        if (client == nullptr) {
            return false;
        }
        jack_client_close(client);
        return true;
    }

    // The server's MIDI ports, other than this controller's, whose names start with
    // `prefix`, sorted.
    std::vector<std::string> PortsStartingWith(const std::string& prefix) {
        std::vector<std::string> names;
        for (unsigned i = 0; i < m_in.getPortCount(); ++i) {
            names.push_back(m_in.getPortName(i));
        }
        for (unsigned i = 0; i < m_out.getPortCount(); ++i) {
            names.push_back(m_out.getPortName(i));
        }
        std::erase_if(names,
                      [&prefix](const std::string& name) { return name.rfind(prefix, 0) != 0; });
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    RtMidiOut m_out;
    RtMidiIn m_in;
    std::mutex m_mutex;
    std::map<int, Received> m_rings;
};
