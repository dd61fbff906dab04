// A controller's port is found again by its name after it was plugged in again: ALSA's
// client and port numbers, which change, are no part of it.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/midi/MidiConnection.h"

namespace {

TEST(MidiPortNamesTest, StableNamesDropOnlyAlsasNumbers) {
    EXPECT_EQ(StablePortName("nanoKONTROL2:nanoKONTROL2 MIDI 1 20:0"),
              "nanoKONTROL2:nanoKONTROL2 MIDI 1");
    EXPECT_EQ(StablePortName("X-Touch:X-Touch MIDI 1 128:0"), "X-Touch:X-Touch MIDI 1");
    EXPECT_EQ(StablePortName("system:midi_capture_1"), "system:midi_capture_1");
    EXPECT_EQ(StablePortName("a2j:Launch Control [24] (capture): Launch Control MIDI 1"),
              "a2j:Launch Control [24] (capture): Launch Control MIDI 1");
    EXPECT_EQ(StablePortName("Desk 20:0 spare"), "Desk 20:0 spare");
    EXPECT_EQ(MidiSystemNamed("jack"), MidiSystem::Jack);
    EXPECT_EQ(MidiSystemNamed("alsa"), MidiSystem::Alsa);
    EXPECT_EQ(MidiSystemNamed(""), DefaultMidiSystem());
    EXPECT_EQ(MidiSystemNamed(MidiSystemName(MidiSystem::Jack)), MidiSystem::Jack);
}

// ALSA may number a controller plugged back within one look as it was: its identity changes
// all the same, by its client's exits the sequencer announced, so the connection opens it anew.
// (The sequencer itself is not needed: the exits are counted as it would announce them.)
TEST(MidiPortNamesTest, AnAlsaPortPluggedBackUnderItsOldNumbersIsAnotherPort) {
    std::map<int, uint64_t> exits;
    const auto exitsOf = [&exits](int client) { return exits[client]; };
    const std::string name = "X-Touch:X-Touch MIDI 1 20:0";
    const uint64_t first = AlsaPortIdentity(name, exitsOf);
    EXPECT_NE(first, 0U);
    EXPECT_EQ(AlsaPortIdentity(name, exitsOf), first) << "the same port, look after look";
    ++exits[128];
    EXPECT_EQ(AlsaPortIdentity(name, exitsOf), first) << "another client left";
    ++exits[20];
    EXPECT_NE(AlsaPortIdentity(name, exitsOf), first) << "unplugged and plugged back";
    EXPECT_NE(AlsaPortIdentity("X-Touch:X-Touch MIDI 2 20:1", exitsOf),
              AlsaPortIdentity(name, exitsOf));

    // A device names itself: what ALSA never gives is no identity, and no fault.
    for (const char* odd : {"system:midi_capture_1", "Desk 99999999999999999999:0", "Desk 20:256",
                            "Desk 256:0", "Desk 20:0 spare"}) {
        EXPECT_EQ(AlsaPortIdentity(odd, exitsOf), 0U) << odd;
    }
}

}  // namespace
