#include "platform/midi/MidiConnection.h"

#include <QMetaObject>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>
#include <regex>

#include "platform/midi/MidiBackend.h"

namespace {

constexpr size_t kMostOutgoing = 1024;  // what waits for a port that is slow to take it
// An ALSA port's identity: its client's exits above its client and port numbers, a byte each.
constexpr unsigned kMostAlsaNumber = 255;
constexpr int kExitsShift = 32;
constexpr int kClientShift = 8;

// The client and port numbers ALSA's ports end in ("X-Touch:X-Touch MIDI 1 20:0").
const std::regex& AlsaNumbers() {
    static const std::regex kNumbers(R"( ([0-9]+):([0-9]+)$)");
    return kNumbers;
}

// The entry whose stable name is `name`; null for none.
const MidiPortEntry* Named(const std::vector<MidiPortEntry>& entries, const std::string& name) {
    const auto found = std::find_if(entries.begin(), entries.end(), [&name](const auto& entry) {
        return StablePortName(entry.name) == name;
    });
    return found != entries.end() ? &*found : nullptr;
}

std::vector<std::string> StableNames(const std::vector<MidiPortEntry>& entries) {
    std::vector<std::string> names;
    for (const MidiPortEntry& entry : entries) {
        names.push_back(StablePortName(entry.name));
    }
    return names;
}

}  // namespace

// What the connection and its thread share; the thread keeps it alive when the connection
// stops waiting for it.
struct MidiConnection::Shared {
    MidiSystem system = MidiSystem::Alsa;
    std::string clientName;
    std::string inputName;
    std::string outputName;
    Handlers handlers;

    mutable std::mutex mutex;
    std::condition_variable wake;
    bool stop = false;
    bool finished = false;
    std::deque<Message> outgoing;
    MidiPorts ports;
    bool present = false;

    std::mutex contextMutex;
    QObject* context = nullptr;  // null once the connection is gone

    void Post(std::function<void()> work) {
        const std::lock_guard lock(contextMutex);
        if (context != nullptr) {
            QMetaObject::invokeMethod(context, std::move(work), Qt::QueuedConnection);
        }
    }
};

namespace {

using Shared = MidiConnection::Shared;

// What the thread opened: the full names and identities of the two ports.
struct Opened {
    bool open = false;
    MidiPortEntry input;
    MidiPortEntry output;
};

void Look(Shared& shared, MidiBackend& backend, Opened& opened) {
    std::vector<MidiPortEntry> sources;
    std::vector<MidiPortEntry> destinations;
    MidiPorts ports;
    if (backend.List(sources, destinations, ports.whyNone)) {
        ports.inputs = StableNames(sources);
        ports.outputs = StableNames(destinations);
        if (ports.inputs.empty() && ports.outputs.empty()) {
            ports.whyNone = "No MIDI controller is plugged in.";
        }
    }
    const MidiPortEntry* input = Named(sources, shared.inputName);
    const MidiPortEntry* output = Named(destinations, shared.outputName);
    const bool wanted = !shared.inputName.empty() || !shared.outputName.empty();
    const bool there = wanted && (shared.inputName.empty() || input != nullptr) &&
                       (shared.outputName.empty() || output != nullptr);
    // Unplugged and plugged back between two looks: a port of the same name, but another,
    // and the old connection is gone with the old port.
    const auto same = [](const MidiPortEntry* now, const MidiPortEntry& then) {
        return now == nullptr ? then.name.empty()
                              : now->name == then.name && now->identity == then.identity;
    };
    const bool replugged =
        opened.open && there && (!same(input, opened.input) || !same(output, opened.output));
    if (opened.open && (!there || replugged)) {
        backend.Close();
        opened = {};
    }
    if (there && !opened.open) {
        const std::string source = input != nullptr ? input->name : std::string();
        const std::string destination = output != nullptr ? output->name : std::string();
        if (backend.Open(source, destination)) {
            opened = {true, input != nullptr ? *input : MidiPortEntry{},
                      output != nullptr ? *output : MidiPortEntry{}};
        }
    }
    const bool present = opened.open;

    bool wasPresent = false;
    bool listChanged = false;
    {
        const std::lock_guard lock(shared.mutex);
        listChanged = ports.inputs != shared.ports.inputs ||
                      ports.outputs != shared.ports.outputs ||
                      ports.whyNone != shared.ports.whyNone;
        wasPresent = shared.present;
        shared.ports = std::move(ports);
        shared.present = present;
        if (!present || replugged) {
            shared.outgoing.clear();
        }
    }
    if (shared.handlers.presence) {
        if (replugged && wasPresent && present) {
            shared.Post([presence = shared.handlers.presence] { presence(false); });
        }
        if (present != wasPresent || (replugged && present)) {
            shared.Post([presence = shared.handlers.presence, present] { presence(present); });
        }
    }
    if (listChanged && shared.handlers.portsChanged) {
        shared.Post([changed = shared.handlers.portsChanged] { changed(); });
    }
}

void Run(const std::shared_ptr<Shared>& shared) {
    {
        // Messages in arrive on the MIDI system's thread; the shared state outlives them.
        Shared* state = shared.get();
        MidiBackend::Received received = [state](std::vector<uint8_t> bytes) {
            if (state->handlers.received) {
                state->Post([received = state->handlers.received, bytes = std::move(bytes)] {
                    received(bytes);
                });
            }
        };
        std::unique_ptr<MidiBackend> backend =
            shared->system == MidiSystem::Jack
                ? MakeJackBackend(shared->clientName, std::move(received))
                : MakeAlsaBackend(shared->clientName, std::move(received));
        Opened opened;
        auto nextLook = std::chrono::steady_clock::now();
        std::unique_lock lock(shared->mutex);
        while (!shared->stop) {
            if (std::chrono::steady_clock::now() >= nextLook) {
                lock.unlock();
                Look(*shared, *backend, opened);
                lock.lock();
                nextLook = std::chrono::steady_clock::now() +
                           std::chrono::milliseconds(MidiConnection::kLookInterval_ms);
            }
            while (!shared->outgoing.empty() && !shared->stop) {
                const MidiConnection::Message message = std::move(shared->outgoing.front());
                shared->outgoing.pop_front();
                lock.unlock();
                if (opened.open) {
                    backend->Send(message);
                }
                lock.lock();
            }
            shared->wake.wait_until(
                lock, nextLook, [&shared] { return shared->stop || !shared->outgoing.empty(); });
        }
        lock.unlock();
        backend.reset();
    }
    const std::lock_guard lock(shared->mutex);
    shared->finished = true;
    shared->wake.notify_all();
}

}  // namespace

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
    return std::regex_replace(name, AlsaNumbers(), "");
}

uint64_t AlsaPortIdentity(const std::string& name,
                          const std::function<uint64_t(int client)>& exitsOf) {
    std::smatch numbers;
    if (!std::regex_search(name, numbers, AlsaNumbers())) {
        return 0;
    }
    // The name is the device's: numbers past a byte are no ALSA address.
    const auto number = [&numbers](int group) {
        unsigned value = 0;
        const std::string text = numbers[group].str();
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        return error == std::errc() && end == text.data() + text.size() && value <= kMostAlsaNumber
                   ? static_cast<int>(value)
                   : -1;
    };
    const int client = number(1);
    const int port = number(2);
    if (client < 0 || port < 0) {
        return 0;
    }
    return (exitsOf(client) << kExitsShift) | (static_cast<uint64_t>(client) << kClientShift) |
           static_cast<uint64_t>(port);
}

MidiConnection::MidiConnection(MidiSystem system, std::string clientName, std::string inputName,
                               std::string outputName, Handlers handlers)
    : m_shared(std::make_shared<Shared>()), m_context(std::make_unique<QObject>()) {
    m_shared->system = system;
    m_shared->clientName = std::move(clientName);
    m_shared->inputName = std::move(inputName);
    m_shared->outputName = std::move(outputName);
    m_shared->handlers = std::move(handlers);
    m_shared->context = m_context.get();
    m_thread = std::thread([shared = m_shared] { Run(shared); });
}

MidiConnection::~MidiConnection() {
    bool finished = false;
    {
        std::unique_lock lock(m_shared->mutex);
        m_shared->stop = true;
        m_shared->wake.notify_all();
        finished = m_shared->wake.wait_for(lock, std::chrono::milliseconds(kMostCloseWait_ms),
                                           [this] { return m_shared->finished; });
    }
    if (finished) {
        m_thread.join();
    } else {
        m_thread.detach();
    }
    {
        const std::lock_guard lock(m_shared->contextMutex);
        m_shared->context = nullptr;
    }
    m_context.reset();
}

void MidiConnection::Send(Message message) {
    {
        const std::lock_guard lock(m_shared->mutex);
        if (!m_shared->present) {
            return;
        }
        if (m_shared->outgoing.size() >= kMostOutgoing) {
            m_shared->outgoing.pop_front();
        }
        m_shared->outgoing.push_back(std::move(message));
    }
    m_shared->wake.notify_all();
}

MidiPorts MidiConnection::Ports() const {
    const std::lock_guard lock(m_shared->mutex);
    return m_shared->ports;
}

bool MidiConnection::Present() const {
    const std::lock_guard lock(m_shared->mutex);
    return m_shared->present;
}

const std::string& MidiConnection::InputName() const {
    return m_shared->inputName;
}
