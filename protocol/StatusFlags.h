#pragma once

#include <cstdint>

// The status a unit reports in its identify answer, kept raw as UnitStatus: the answer's
// first 12 bytes.

// Byte positions inside UnitStatus; data k of the answer is byte 3 + k.
constexpr int kStatusByteAddress = 0;
constexpr int kStatusByteLength = 1;
constexpr int kStatusByteCode = 2;
constexpr int kStatusByteFlags = 3;
constexpr int kStatusByteMessage = 4;
constexpr int kStatusByteModel = 5;
constexpr int kStatusByteMenu = 6;

// Message numbers of byte 4 whose text the unit sends on ReadUnitMessage; every other
// number names an entry of the unit's message table (0: no message).
constexpr uint8_t kFetchedMessage = 100;
constexpr uint8_t kFetchedMessageAlt = 255;
constexpr bool IsFetchedMessage(uint8_t message) {
    return message == kFetchedMessage || message == kFetchedMessageAlt;
}

// The flags of byte 3.
enum StatusFlag : uint8_t {
    kStatusIndicator = 0x01,       // the unit asks for its indicator icon to be shown
    kStatusValuesChanged = 0x02,   // parameter values changed on the unit: read them again
    kStatusStateChanged = 0x04,    // the unit's state changed: read it again
    kStatusBootMode = 0x08,        // not programmed, or in boot mode
    kStatusBusy = 0x10,            // busy, e.g. clearing its files
    kStatusReferenceVideo = 0x40,  // reference video present
};
