#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// One MIDI system as the connection's thread drives it; private to platform/midi/. Every call
// is made on that thread; `Received` may run on the MIDI system's own.

// The ALSA sequencer's device: a machine without it has no ALSA MIDI.
constexpr const char* kSequencerDevice = "/dev/snd/seq";

// A port of the machine: its full name as the system lists it, and what tells it from a
// port of the same name that came later (a controller unplugged and plugged back).
struct MidiPortEntry {
    std::string name;
    uint64_t identity = 0;
};

class MidiBackend {
  public:
    using Received = std::function<void(std::vector<uint8_t>)>;
    virtual ~MidiBackend() = default;

    // The ports a controller sends on (`sources`) and listens on; false with `why`, in the
    // user's words, when the system is not there.
    virtual bool List(std::vector<MidiPortEntry>& sources, std::vector<MidiPortEntry>& destinations,
                      std::string& why) = 0;
    // Opens the ports of those full names (either empty for none); false when one did not
    // open, and then none stays open.
    virtual bool Open(const std::string& source, const std::string& destination) = 0;
    virtual void Close() = 0;
    // Sends on the open destination; dropped when there is none.
    virtual void Send(const std::vector<uint8_t>& message) = 0;
};

// `clientName` names this program on the system; messages from the open source go to
// `received`.
std::unique_ptr<MidiBackend> MakeJackBackend(const std::string& clientName,
                                             MidiBackend::Received received);
std::unique_ptr<MidiBackend> MakeAlsaBackend(const std::string& clientName,
                                             MidiBackend::Received received);
