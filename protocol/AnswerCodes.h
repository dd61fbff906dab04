#pragma once

#include <cstdint>

// The answer codes the panel accepts, by command. The codes of the lists are in
// protocol/Lists.h.

constexpr uint8_t kCodeIdentify = 0x40;
constexpr uint8_t kCodeParameterUpdates = 0x04;  // AdjustParameter, SetParameter
constexpr uint8_t kCodeValuesFull = 0x02;        // parameters 0..126
constexpr uint8_t kCodeValuesShort = 0x04;       // parameters 0..12
constexpr uint8_t kCodeValuesRest = 0x25;        // parameter 127 and functions 128..255
constexpr uint8_t kCodeReferencesFirst = 0x03;
constexpr uint8_t kCodeReferencesRest = 0x26;
constexpr uint8_t kCodeMenuDataReady = 0x00;
constexpr uint8_t kCodeMenuDataLast = 0x42;  // any other code: more chunks follow
constexpr uint8_t kCodeSettingsLabel = 0x00;
constexpr uint8_t kCodeUnitMessage = 0x21;
constexpr uint8_t kCodeUnitReply = 0x05;

constexpr uint8_t kCodeFileLoadedMain = 0x1D;
constexpr uint8_t kCodeFileLoadedUser = 0x24;
constexpr uint8_t kCodeFileDeletedMain = 0x1B;
constexpr uint8_t kCodeFileDeletedUser = 0x22;
constexpr uint8_t kCodeChunkTaken = 0x1B;
constexpr uint8_t kCodeChunkTakenAlso = 0x00;
constexpr uint8_t kCodeFileSystemUpdated = 0x1B;

constexpr uint8_t kCodeSequenceRecord = 0x5F;  // ReadGpiSequence asks again until this code
constexpr uint8_t kCodeGpiEventSet = 0x1D;
constexpr uint8_t kCodeGpiStatus = 0x0D;

constexpr uint8_t kCodeLockoutTable = 0x02;
constexpr uint8_t kCodeLockoutSet = 0x00;

constexpr uint8_t kCodeEffectCreated = 0x5C;
constexpr uint8_t kCodeEffectSelected = 0x35;
constexpr uint8_t kCodeKeyframe = 0x5E;
constexpr uint8_t kCodeKeyframeDeleted = 0x33;
