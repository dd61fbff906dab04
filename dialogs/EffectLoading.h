#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "link/Framing.h"

// Loading one effect from the unit: every answer is read and checked first, and only a
// complete, consistent set is stored, so a unit that fails half-way leaves the program's
// effect table and keyframe maps as they were.

struct EffectAnswers {
    AnswerBuffer info{};
    AnswerBuffer assignments{};
    std::vector<AnswerBuffer> keyframes;
};

// Called before keyframe `index` (0-based) of `count` is read.
using KeyframeProgress = std::function<void(int index, int count)>;

// Reads the information, the assignments and every keyframe of effect `number`. Ok when each
// answer came and speaks of that effect; else the failing status, with `failedStep` naming
// what was being read.
Status ReadEffectAnswers(uint8_t number, EffectAnswers& answers, QString& failedStep,
                         const KeyframeProgress& progress);

// Stores checked answers into g_effectTable entry `index` and fills the keyframe menu's maps
// from the effect's assignments: parameters into knob slots 1..8, functions into button
// slots 1 and 2 (as offsets). The current keyframe becomes 1.
void ApplyEffectAnswers(int index, const EffectAnswers& answers);

// Empties knob slots 1..8 and function slots 1 and 2 of the keyframe menu.
void ClearKeyframeAssignments();
