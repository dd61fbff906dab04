#include "dialogs/EffectLoading.h"

#include <algorithm>

#include "link/DialogRequests.h"
#include "link/EffectCommands.h"
#include "link/KeyframeCommands.h"
#include "link/StorageTables.h"
#include "model/PanelModel.h"

namespace {

constexpr int kAssignableButtons = 2;

// An answer that came whole and names effect `number` in its first data byte.
Status CheckAnswer(Status status, const AnswerBuffer& answer, uint8_t number, int dataNeeded) {
    if (status != Status::Ok) {
        return status;
    }
    if (AnswerDataCount(answer) < dataNeeded) {
        return Status::WrongLength;
    }
    return AnswerData(answer, 0) == number ? Status::Ok : Status::WrongCode;
}

// The answer addressed to table entry `index`: the unit names the effect by its number,
// the table keeps it at its list position.
AnswerBuffer ForEntry(const AnswerBuffer& answer, int index) {
    AnswerBuffer copy = answer;
    copy[kAnswerData] = static_cast<uint8_t>(index);
    return copy;
}

}  // namespace

Status ReadEffectAnswers(uint8_t number, EffectAnswers& answers, QString& failedStep,
                         const KeyframeProgress& progress) {
    failedStep = QStringLiteral("its information");
    Status status = CheckAnswer(RequestEffectInfo(number, answers.info), answers.info, number,
                                kEffectInfoDataBytes);
    if (status != Status::Ok) {
        return status;
    }
    failedStep = QStringLiteral("its knob assignments");
    status = CheckAnswer(RequestAssignments(number, answers.assignments), answers.assignments,
                         number, kAssignmentDataBytes);
    if (status != Status::Ok) {
        return status;
    }
    const int count =
        std::min<int>(AnswerData(answers.info, kEffectInfoKeyframeCount), kMaxKeyframes);
    answers.keyframes.assign(static_cast<size_t>(count), AnswerBuffer{});
    for (int j = 0; j < count; ++j) {
        if (progress) {
            progress(j, count);
        }
        failedStep = QStringLiteral("keyframe %1 of %2").arg(j + 1).arg(count);
        AnswerBuffer& keyframe = answers.keyframes[static_cast<size_t>(j)];
        status = ReadKeyframe(number, static_cast<uint8_t>(j), keyframe);
        if (status == Status::Ok && AnswerDataCount(keyframe) < kKeyframeDataBytes) {
            status = Status::WrongLength;
        }
        if (status != Status::Ok) {
            return status;
        }
    }
    failedStep.clear();
    return Status::Ok;
}

void ClearKeyframeAssignments() {
    std::fill(std::begin(g_keyframeKnobMap), std::end(g_keyframeKnobMap),
              static_cast<uint8_t>(kEmptyKnobParam));
    std::fill_n(g_keyframeFunctionMap, kAssignableButtons,
                static_cast<uint8_t>(kEmptyFunctionOffset));
}

void ApplyEffectAnswers(int index, const EffectAnswers& answers) {
    EffectRecord* effect = EffectAt(index);
    if (!effect) {
        return;
    }
    ApplyEffectInfo(ForEntry(answers.info, index));
    ApplyEffectAssignments(ForEntry(answers.assignments, index));
    effect->keyframeCount = static_cast<int32_t>(answers.keyframes.size());

    ClearKeyframeAssignments();
    int knob = 0;
    int button = 0;
    for (int i = 0; i < effect->assignmentCount; ++i) {
        const uint8_t item = effect->assignments[static_cast<size_t>(i)];
        if (item <= kEmptyKnobParam) {
            if (knob < kKnobCount) {
                g_keyframeKnobMap[knob++] = item;
            }
        } else if (button < kAssignableButtons) {
            // The unit names a function by its number; the button maps hold offsets.
            g_keyframeFunctionMap[button++] = static_cast<uint8_t>(item - kFirstFunctionNumber);
        }
    }
    effect->currentKeyframe = 1;
    for (size_t j = 0; j < answers.keyframes.size(); ++j) {
        StoreKeyframe(index, static_cast<int>(j), answers.keyframes[j]);
    }
}
