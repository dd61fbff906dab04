#pragma once

#include <cstdint>

#include "protocol/WireByte.h"

// The command byte of a request: the first payload byte. A list is read with its first
// request, then the follow-up request repeated until the last part.
enum class Command : uint8_t {
    AdjustParameter = 0x81,  // number, signed 16-bit delta
    ReadFileDataFollowUp = 0x8E,
    WriteFileDataChunk = 0x8F,  // up to 250 bytes of file data
    WriteFileDataStart = 0x91,  // FF; the unit does not answer
    ReadFileDataFirst = 0x92,   // file id low byte
    LoadFileMain = 0x93,        // file id low byte
    LoadFileUser = 0x99,        // file id low byte
    SendUnitReply = 0x9E,       // reply kind, value
    ReadGpiStatus = 0x9F,
    SelectEffect = 0xA5,  // effect number: the unit runs that effect
    SetParameter = 0xA8,  // number, then a 16-bit word (knobs) or one byte (functions)
    ReadVersionInfo = 0xAB,
    ReadParameterValues = 0xAC,      // parameters 0..126
    ReadReferenceValues = 0xAD,      // parameters 0..126
    ReadParameterValuesRest = 0xAE,  // parameter 127 and the functions
    ReadReferenceValuesRest = 0xAF,  // parameter 127 and the functions
    Effect = 0xB0,                   // effect number, operation: create, information, delete
    Assignments = 0xB1,              // effect number, operation: the parameters an effect animates
    Keyframe = 0xB2,                 // effect number, keyframe index, operation
    ReadGpiSequence = 0xB3,          // gpi, action: read the record, reset or step the pointer
    SetGpiEvent = 0xB4,              // gpi, position, insert or remove, kind, file id
    ReadUnitMessage = 0xB5,
    ReadSettingsLabel = 0xB6,
    SetOnAirLockout = 0xB8,   // number, lock state
    ReadOnAirLockout = 0xB9,  // sent twice: one table each
    ReadGpiEventListFirst = 0xBC,
    ReadGpiEventListFollowUp = 0xBD,
    DeleteFileMain = 0xBE,  // file id high, low
    DeleteFileUser = 0xBF,  // file id high, low
    IdentifyUnit = 0xC0,
    ReadMenuData = 0xC1,  // repeated: one chunk of the menu image each
    ReadFileListMainFirst = 0xC2,
    ReadFileListUserFirst = 0xC3,
    ReadEffectListFirst = 0xC4,
    PrepareMenuData = 0xC5,
    ReadFileListMainFollowUp = 0xC6,
    ReadFileListUserFollowUp = 0xC7,
    ReadEffectListFollowUp = 0xC8,
    WriteFileEntryMain = 0xCC,  // file id, 00, save context, name
    WriteFileEntryUser = 0xCD,  // file id, 00, save context, name, custom-menu body
    UpdateFileSystem = 0xEA,    // the unit rebuilds its file system, then answers
};
