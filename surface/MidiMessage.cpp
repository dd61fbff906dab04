#include "surface/MidiMessage.h"

#include <algorithm>

namespace {

constexpr uint8_t kKindMask = 0xF0;
constexpr uint8_t kChannelMask = 0x0F;
constexpr uint8_t kDataMask = 0x80;
constexpr uint8_t kNoteOff = 0x80;
constexpr uint8_t kNoteOn = 0x90;
constexpr uint8_t kControlChange = 0xB0;
constexpr size_t kChannelMessageSize = 3;

}  // namespace

std::optional<MidiEvent> ParseMidi(const MidiBytes& bytes) {
    if (bytes.size() != kChannelMessageSize || (bytes[1] & kDataMask) != 0 ||
        (bytes[2] & kDataMask) != 0) {
        return std::nullopt;
    }
    MidiEvent event;
    event.control.channel = bytes[0] & kChannelMask;
    event.control.number = bytes[1];
    event.value = bytes[2];
    switch (bytes[0] & kKindMask) {
        case kControlChange:
            event.control.kind = MidiKind::ControlChange;
            return event;
        case kNoteOn:
            event.control.kind = MidiKind::Note;
            return event;
        case kNoteOff:
            event.control.kind = MidiKind::Note;
            event.value = 0;
            return event;
        default:
            return std::nullopt;
    }
}

MidiBytes EncodeMidi(const MidiEvent& event) {
    const uint8_t kind = event.control.kind == MidiKind::Note ? kNoteOn : kControlChange;
    const auto data = [](int value) {
        return static_cast<uint8_t>(std::clamp(value, 0, kMidiDataMaximum));
    };
    return {static_cast<uint8_t>(kind | std::clamp(event.control.channel, 0, kMidiChannels - 1)),
            data(event.control.number), data(event.value)};
}
