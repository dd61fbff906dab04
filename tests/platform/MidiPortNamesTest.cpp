// A controller's port is found again by its name after it was plugged in again: ALSA's
// client and port numbers, which change, are no part of it.
#include <gtest/gtest.h>

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

}  // namespace
