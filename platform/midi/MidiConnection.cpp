#include "platform/midi/MidiConnection.h"

#include <jack/jack.h>
#include <rtmidi/RtMidi.h>

#include <QMetaObject>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <regex>

namespace {

constexpr const char* kSequencerDevice = "/dev/snd/seq";
constexpr size_t kMostOutgoing = 1024;  // what waits for a port that is slow to take it
constexpr const char* kInputPortName = "surface in";
constexpr const char* kOutputPortName = "surface out";

void Silent(const char*) {}
void SilentRtMidi(RtMidiError::Type, const std::string&, void*) {}

RtMidi::Api ApiOf(MidiSystem system) {
    return system == MidiSystem::Alsa ? RtMidi::LINUX_ALSA : RtMidi::UNIX_JACK;
}

template <typename Port>
std::vector<std::string> PortNames(Port& port) {
    std::vector<std::string> names;
    const unsigned count = port.getPortCount();
    for (unsigned i = 0; i < count; ++i) {
        names.push_back(port.getPortName(i));
    }
    return names;
}

// Opens the port of `port`'s system whose stable name is `name`; false when there is none.
template <typename Port>
bool OpenNamed(Port& port, const std::string& name, const char* ownName) {
    const unsigned count = port.getPortCount();
    for (unsigned i = 0; i < count; ++i) {
        if (StablePortName(port.getPortName(i)) == name) {
            port.openPort(i, ownName);
            return port.isPortOpen();
        }
    }
    return false;
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The full name, numbers and all, of the port whose stable name is `name`; empty for none.
std::string FullNameOf(const std::vector<std::string>& fullNames, const std::string& name) {
    for (const std::string& fullName : fullNames) {
        if (StablePortName(fullName) == name) {
            return fullName;
        }
    }
    return {};
}

}  // namespace

// Everything of the MIDI system, owned by the connection's thread alone.
struct MidiConnection::Devices {
    jack_client_t* jack = nullptr;  // watches the JACK server; null while none runs
    std::atomic<bool> jackGone{false};
    std::unique_ptr<RtMidiIn> inputList;
    std::unique_ptr<RtMidiOut> outputList;
    std::unique_ptr<RtMidiIn> input;
    std::unique_ptr<RtMidiOut> output;
    std::vector<std::string> inputNames;  // the last look's, in full
    std::vector<std::string> outputNames;
    std::string openedInput;  // the full names of the ports opened
    std::string openedOutput;

    void ClosePorts() {
        input.reset();
        output.reset();
        openedInput.clear();
        openedOutput.clear();
    }
    void CloseAll() {
        ClosePorts();
        inputList.reset();
        outputList.reset();
        if (jack != nullptr) {
            jack_client_close(jack);
            jack = nullptr;
        }
    }
};

MidiSystem DefaultMidiSystem() {
    std::error_code error;
    return std::filesystem::exists(kSequencerDevice, error) ? MidiSystem::Alsa : MidiSystem::Jack;
}

std::string MidiSystemName(MidiSystem system) {
    return system == MidiSystem::Alsa ? "alsa" : "jack";
}

MidiSystem MidiSystemNamed(const std::string& name) {
    if (name == "alsa") {
        return MidiSystem::Alsa;
    }
    if (name == "jack") {
        return MidiSystem::Jack;
    }
    return DefaultMidiSystem();
}

std::string StablePortName(const std::string& name) {
    static const std::regex kAlsaNumbers(R"( [0-9]+:[0-9]+$)");
    return std::regex_replace(name, kAlsaNumbers, "");
}

MidiConnection::MidiConnection(MidiSystem system, std::string clientName, std::string inputName,
                               std::string outputName, Handlers handlers)
    : m_system(system),
      m_clientName(std::move(clientName)),
      m_inputName(std::move(inputName)),
      m_outputName(std::move(outputName)),
      m_handlers(std::move(handlers)),
      m_context(std::make_unique<QObject>()) {
    m_thread = std::thread([this] { Run(); });
}

MidiConnection::~MidiConnection() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
    m_context.reset();
}

void MidiConnection::Send(Message message) {
    {
        const std::lock_guard lock(m_mutex);
        if (!m_present) {
            return;
        }
        if (m_outgoing.size() >= kMostOutgoing) {
            m_outgoing.pop_front();
        }
        m_outgoing.push_back(std::move(message));
    }
    m_wake.notify_all();
}

MidiPorts MidiConnection::Ports() const {
    const std::lock_guard lock(m_mutex);
    return m_ports;
}

bool MidiConnection::Present() const {
    const std::lock_guard lock(m_mutex);
    return m_present;
}

void MidiConnection::Post(std::function<void()> work) {
    QMetaObject::invokeMethod(m_context.get(), std::move(work), Qt::QueuedConnection);
}

void MidiConnection::Run() {
    jack_set_error_function(Silent);
    jack_set_info_function(Silent);
    Devices devices;
    auto nextLook = std::chrono::steady_clock::now();
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        if (std::chrono::steady_clock::now() >= nextLook) {
            lock.unlock();
            Look(devices);
            lock.lock();
            nextLook =
                std::chrono::steady_clock::now() + std::chrono::milliseconds(kLookInterval_ms);
        }
        while (!m_outgoing.empty() && !m_stop) {
            const Message message = std::move(m_outgoing.front());
            m_outgoing.pop_front();
            lock.unlock();
            if (devices.output != nullptr) {
                devices.output->sendMessage(&message);
            }
            lock.lock();
        }
        m_wake.wait_until(lock, nextLook, [this] { return m_stop || !m_outgoing.empty(); });
    }
    lock.unlock();
    devices.CloseAll();
}

// The machine's ports as they are now, for the settings and for finding the named ones.
MidiPorts MidiConnection::ListPorts(Devices& devices) {
    MidiPorts ports;
    devices.inputNames.clear();
    devices.outputNames.clear();
    try {
        if (m_system == MidiSystem::Jack) {
            if (devices.jackGone) {
                devices.CloseAll();
                devices.jackGone = false;
            }
            if (devices.jack == nullptr) {
                devices.jack =
                    jack_client_open((m_clientName + " watch").c_str(), JackNoStartServer, nullptr);
                if (devices.jack != nullptr) {
                    jack_on_shutdown(
                        devices.jack,
                        [](void* gone) { static_cast<std::atomic<bool>*>(gone)->store(true); },
                        &devices.jackGone);
                    jack_activate(devices.jack);
                }
            }
            if (devices.jack == nullptr) {
                ports.whyNone = "No JACK server runs on this machine.";
                return ports;
            }
        } else if (std::error_code error; !std::filesystem::exists(kSequencerDevice, error)) {
            ports.whyNone = "This machine has no MIDI sequencer device (" +
                            std::string(kSequencerDevice) + ").";
            return ports;
        }
        if (devices.inputList == nullptr) {
            devices.inputList = std::make_unique<RtMidiIn>(ApiOf(m_system), m_clientName);
            devices.inputList->setErrorCallback(SilentRtMidi);
            devices.outputList = std::make_unique<RtMidiOut>(ApiOf(m_system), m_clientName);
            devices.outputList->setErrorCallback(SilentRtMidi);
        }
        devices.inputNames = PortNames(*devices.inputList);
        devices.outputNames = PortNames(*devices.outputList);
    } catch (const RtMidiError& error) {
        devices.CloseAll();
        return {{}, {}, "The MIDI system does not open: " + error.getMessage()};
    }
    for (const std::string& name : devices.inputNames) {
        ports.inputs.push_back(StablePortName(name));
    }
    for (const std::string& name : devices.outputNames) {
        ports.outputs.push_back(StablePortName(name));
    }
    if (ports.inputs.empty() && ports.outputs.empty()) {
        ports.whyNone = "No MIDI controller is plugged in.";
    }
    return ports;
}

// Opens the named ports; on failure none stays open.
void MidiConnection::OpenPorts(Devices& devices) {
    try {
        if (!m_inputName.empty()) {
            devices.input = std::make_unique<RtMidiIn>(ApiOf(m_system), m_clientName);
            devices.input->setErrorCallback(SilentRtMidi);
            devices.input->ignoreTypes(true, true, true);
            devices.input->setCallback(
                [](double, std::vector<unsigned char>* message, void* self) {
                    auto* connection = static_cast<MidiConnection*>(self);
                    if (message != nullptr && connection->m_handlers.received) {
                        connection->Post([received = connection->m_handlers.received,
                                          bytes = *message] { received(bytes); });
                    }
                },
                this);
            if (!OpenNamed(*devices.input, m_inputName, kInputPortName)) {
                devices.ClosePorts();
                return;
            }
        }
        if (!m_outputName.empty()) {
            devices.output = std::make_unique<RtMidiOut>(ApiOf(m_system), m_clientName);
            devices.output->setErrorCallback(SilentRtMidi);
            if (!OpenNamed(*devices.output, m_outputName, kOutputPortName)) {
                devices.ClosePorts();
                return;
            }
        }
    } catch (const RtMidiError&) {
        devices.ClosePorts();
        return;
    }
    devices.openedInput = FullNameOf(devices.inputNames, m_inputName);
    devices.openedOutput = FullNameOf(devices.outputNames, m_outputName);
}

void MidiConnection::Look(Devices& devices) {
    MidiPorts ports = ListPorts(devices);
    const bool wanted = !m_inputName.empty() || !m_outputName.empty();
    const bool there = wanted && (m_inputName.empty() || Contains(ports.inputs, m_inputName)) &&
                       (m_outputName.empty() || Contains(ports.outputs, m_outputName));
    const bool open = devices.input != nullptr || devices.output != nullptr;
    // Unplugged and plugged back between two looks: ALSA numbers it anew, and the old
    // connection is gone with the old port.
    const bool replugged = open && there &&
                           (FullNameOf(devices.inputNames, m_inputName) != devices.openedInput ||
                            FullNameOf(devices.outputNames, m_outputName) != devices.openedOutput);
    if (open && (!there || replugged)) {
        devices.ClosePorts();
    }
    if (there && devices.input == nullptr && devices.output == nullptr) {
        OpenPorts(devices);
    }
    const bool present = devices.input != nullptr || devices.output != nullptr;

    bool wasPresent = false;
    bool listChanged = false;
    {
        const std::lock_guard lock(m_mutex);
        listChanged = ports.inputs != m_ports.inputs || ports.outputs != m_ports.outputs ||
                      ports.whyNone != m_ports.whyNone;
        wasPresent = m_present;
        m_ports = std::move(ports);
        m_present = present;
        if (!present || replugged) {
            m_outgoing.clear();
        }
    }
    if (m_handlers.presence) {
        if (replugged && wasPresent && present) {
            Post([presence = m_handlers.presence] { presence(false); });
        }
        if (present != wasPresent || (replugged && present)) {
            Post([presence = m_handlers.presence, present] { presence(present); });
        }
    }
    if (listChanged && m_handlers.portsChanged) {
        Post([changed = m_handlers.portsChanged] { changed(); });
    }
}
