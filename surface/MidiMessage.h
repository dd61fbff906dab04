#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <vector>

// The few MIDI messages a control surface speaks: control changes and notes, on one of the
// sixteen channels. Everything else a surface sends (clock, system exclusive, pitch bend) is
// of no use to the panel and is dropped.

using MidiBytes = std::vector<uint8_t>;

constexpr int kMidiChannels = 16;
constexpr int kMidiDataMaximum = 127;  // a data byte's largest value

enum class MidiKind { ControlChange, Note };

// One control of a surface: a control change number or a note, on one channel.
struct MidiControl {
    MidiKind kind = MidiKind::ControlChange;
    int channel = 0;  // 0..15
    int number = 0;   // 0..127
    auto operator<=>(const MidiControl&) const = default;
};

// A control's message and its value; a note off is a note of value 0.
struct MidiEvent {
    MidiControl control;
    int value = 0;
};

// The control change or note `bytes` carries; nothing for any other message, a message cut
// short or a data byte with its top bit set.
std::optional<MidiEvent> ParseMidi(const MidiBytes& bytes);

// The three bytes of `event`; a note goes as a note on, value 0 included. Channel, number and
// value are clamped into their ranges.
MidiBytes EncodeMidi(const MidiEvent& event);
