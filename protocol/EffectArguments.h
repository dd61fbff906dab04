#pragma once

#include <cstdint>

#include "protocol/WireByte.h"

// Argument bytes of the effect requests (Effect, Assignments, Keyframe).

// The effect number that makes Effect with EffectOperation::Write create an effect.
constexpr uint8_t kNewEffect = 0xFF;

// The operation byte after the effect number (Effect, Assignments) or the keyframe index
// (Keyframe).
enum class EffectOperation : uint8_t {
    Delete = 0x00,  // Effect: delete the effect; Keyframe: delete a keyframe
    Write = 0x01,   // Effect FF: create; Assignments: write; Keyframe: insert
    Read = 0x02,
    GoTo = 0x04,  // Keyframe: make a keyframe the current one
};
