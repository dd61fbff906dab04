#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

// A MIDI controller's two ports, on the ALSA sequencer (through RtMidi) or a JACK server,
// found by name and found again when it is unplugged and plugged back: a port of the same
// name that is another port than the one opened (ALSA's numbers, a JACK port's identity, an
// exit seen between two looks) is opened afresh. The connection's own thread looks at the
// machine's ports about once a second, opens the named ones when they appear and closes them
// when they go; it also sends what the window hands it, so the window's thread never calls
// the MIDI system and never waits on it. Messages in arrive on the MIDI system's thread and
// are handed to the window's.

// Which MIDI system carries the ports: the ALSA sequencer of a desktop, or a JACK server.
enum class MidiSystem { Alsa, Jack };

// The system a desktop uses: ALSA when the machine has a sequencer device, else JACK.
MidiSystem DefaultMidiSystem();
// "alsa" or "jack", as the settings store it, and back (anything else the default).
std::string MidiSystemName(MidiSystem system);
MidiSystem MidiSystemNamed(const std::string& name);

// A port's name without what changes when it is plugged in again (ALSA's client and port
// numbers at its end: "nanoKONTROL2:nanoKONTROL2 MIDI 1 20:0" is "nanoKONTROL2:nanoKONTROL2
// MIDI 1").
std::string StablePortName(const std::string& name);
// What tells an ALSA port from a port of the same name that came later: the client and port
// numbers at the end of its name, with how often that client was seen to leave (`exitsOf` the
// client's number), since ALSA may give a device plugged back within one look the numbers it
// had. 0 for a name that ends in no numbers ALSA gives (each fits a byte).
uint64_t AlsaPortIdentity(const std::string& name,
                          const std::function<uint64_t(int client)>& exitsOf);

struct MidiPorts {
    std::vector<std::string> inputs;   // the ports a controller sends on, stable names
    std::vector<std::string> outputs;  // the ports a controller listens on
    std::string whyNone;               // when both are empty: why, in the user's words
};

class MidiConnection {
  public:
    using Message = std::vector<uint8_t>;
    struct Handlers {
        std::function<void(const Message&)> received;  // a message from the input port
        std::function<void(bool present)> presence;    // the named ports came (true) or went
        std::function<void()> portsChanged;            // the machine's list of ports changed
    };

    // Looks for the input `inputName` and the output `outputName` (stable names; either may
    // be empty for none) on `system`. `clientName` names this program there: on JACK one
    // client with the ports "<clientName>:surface in" and "<clientName>:surface out". The
    // handlers run on the thread that constructs the connection, from its event loop.
    MidiConnection(MidiSystem system, std::string clientName, std::string inputName,
                   std::string outputName, Handlers handlers);
    // Closes the ports and ends the connection's thread, waiting at most kMostCloseWait_ms
    // for it: a MIDI system that hangs (a JACK server stopped) never holds up the panel's
    // exit. The thread left behind touches nothing of the connection's owner.
    ~MidiConnection();
    MidiConnection(const MidiConnection&) = delete;
    MidiConnection& operator=(const MidiConnection&) = delete;

    // Sends `message` on the output port soon; dropped while the port is absent.
    void Send(Message message);
    // The ports of the last look, and whether the named ones are open.
    MidiPorts Ports() const;
    bool Present() const;
    const std::string& InputName() const;

    // How often the connection looks for its ports.
    static constexpr int kLookInterval_ms = 1000;
    static constexpr int kMostCloseWait_ms = 1000;

    struct Shared;  // what the connection's thread shares with it

  private:
    std::shared_ptr<Shared> m_shared;
    std::unique_ptr<QObject> m_context;  // the window thread's receiver; dropping it drops
                                         // what is still on its way there
    std::thread m_thread;
};
