// The keyframe menu: the current effect's keyframes, inserted, deleted and run from the
// function buttons.
#include <algorithm>
#include <array>

#include "console/PanelConsole.h"
#include "console/PanelMenus.h"
#include "console/PanelView.h"
#include "link/EffectCommands.h"
#include "link/KeyframeCommands.h"
#include "link/StorageTables.h"
#include "platform/Clock.h"
#include "protocol/AnswerCodes.h"
#include "protocol/EffectArguments.h"

namespace {

constexpr int kInsertButton = 3;
constexpr int kDeleteButton = 4;
constexpr int kRunButton = 5;
constexpr int kFrameTimeDisplay = 4;
constexpr int kKeyframeDisplay = 7;

constexpr uint8_t kKeyframeDelete = Byte(EffectOperation::Delete);
constexpr uint8_t kKeyframeInsert = Byte(EffectOperation::Write);
constexpr uint8_t kKeyframeGoTo = Byte(EffectOperation::GoTo);

constexpr uint32_t kBeforeDelete_ms = 100;
constexpr uint32_t kAfterDelete_ms = 200;
constexpr uint32_t kAfterGoTo_ms = 100;

uint8_t EffectNumber(const EffectRecord& effect) {
    return static_cast<uint8_t>(effect.number & 0xFF);
}

uint8_t HighByte(int value) {
    return static_cast<uint8_t>((value >> 8) & 0xFF);
}

uint8_t LowByte(int value) {
    return static_cast<uint8_t>(value & 0xFF);
}

// A keyframe request whose answer the re-read afterwards makes good.
void SendKeyframeRequest(uint8_t expectedCode, std::span<const uint8_t> data) {
    AnswerBuffer answer{};
    // The re-read after it shows what the unit holds, so the answer is not looked at.
    static_cast<void>(SendCommand(Command::Keyframe, expectedCode, data, answer));
}

}  // namespace

// The KeyFrame knob's range and value follow the effect: 1..count, or 0..0 without keyframes.
void PanelConsole::ShowKeyframeRange(const EffectRecord& effect) {
    ParamRecord& param = g_panelModel.m_keyframeParam;
    const bool any = effect.keyframeCount > 0;
    const auto count = static_cast<int16_t>(effect.keyframeCount);
    param.value = any ? static_cast<int16_t>(effect.currentKeyframe) : 0;
    param.rawMin = any ? 1 : 0;
    param.dispMin = param.rawMin;
    param.rawMax = count;
    param.dispMax = count;
    m_view.RedrawKnobDisplay(kKeyframeDisplay);
    ShowLine();
}

// The Frame Time knob shows the time of the current keyframe.
void PanelConsole::ShowCurrentFrameTime(const EffectRecord& effect) {
    const int index = effect.currentKeyframe - 1;
    if (index < 0 || index >= std::min(effect.keyframeCount, kMaxKeyframes)) {
        return;
    }
    g_panelModel.m_frameTimeParam.value = static_cast<int16_t>(effect.keyframes[index].time);
    m_view.ShowKnobDisplay(kFrameTimeDisplay, &g_panelModel.m_frameTimeParam);
}

void PanelConsole::LoadKeyframeState() {
    if (EffectRecord* effect = EffectAt(g_currentEffect)) {
        // The current keyframe is one the effect has, or none when it has none.
        effect->keyframeCount = std::clamp(effect->keyframeCount, 0, kMaxKeyframes);
        effect->currentKeyframe = effect->keyframeCount > 0 ? std::clamp(effect->currentKeyframe, 1,
                                                                         effect->keyframeCount)
                                                            : 0;
        ShowKeyframeRange(*effect);
        // The binding below keeps a frame time the knob edited; a new effect brings its own.
        ShowCurrentFrameTime(*effect);
    }
    ShowFunctionLabels();
    BindKnobs();
}

// Reads every keyframe of the effect back from the unit; one that does not come keeps what
// the panel held.
void PanelConsole::RereadKeyframes(EffectRecord& effect) {
    for (int k = 0; k < effect.keyframeCount && k < kMaxKeyframes; ++k) {
        AnswerBuffer answer{};
        if (ReadKeyframe(EffectNumber(effect), static_cast<uint8_t>(k), answer) == Status::Ok) {
            StoreKeyframe(g_currentEffect, k, answer);
        }
    }
    ShowKeyframeRange(effect);
    ShowCurrentFrameTime(effect);
}

void PanelConsole::InsertKeyframe(EffectRecord& effect) {
    if (effect.keyframeCount >= kMaxKeyframes) {
        ShowMessage("An effect holds at most 32 keyframes: delete one to insert another.");
        return;
    }
    effect.keyframeCount += 1;
    effect.currentKeyframe = effect.keyframeCount;
    const int time = g_panelModel.m_frameTimeParam.value;
    const std::array<uint8_t, 8> data = {EffectNumber(effect),
                                         static_cast<uint8_t>(effect.keyframeCount),
                                         kKeyframeInsert,
                                         HighByte(time),
                                         LowByte(time),
                                         0,
                                         0,
                                         0};
    SendKeyframeRequest(kCodeKeyframe, data);
    RereadKeyframes(effect);
}

void PanelConsole::DeleteKeyframe(EffectRecord& effect) {
    const int k = g_panelModel.m_keyframeParam.value;
    if (effect.keyframeCount <= 0 || k < 1 || k > effect.keyframeCount) {
        return;
    }
    const uint8_t number = EffectNumber(effect);
    const auto index = static_cast<uint8_t>(k - 1);
    const auto before = static_cast<uint8_t>(k - 2);  // 255 when the first keyframe goes
    const int time = effect.keyframes[index].time;
    SendKeyframeRequest(kCodeKeyframe, std::array<uint8_t, 3>{number, index, kKeyframeGoTo});
    Wait(kBeforeDelete_ms);
    SendKeyframeRequest(
        kCodeKeyframeDeleted,
        std::array<uint8_t, 5>{number, index, kKeyframeDelete, HighByte(time), LowByte(time)});
    Wait(kAfterDelete_ms);
    SendKeyframeRequest(kCodeKeyframe, std::array<uint8_t, 3>{number, before, kKeyframeGoTo});
    Wait(kAfterGoTo_ms);
    effect.keyframeCount -= 1;
    // With no keyframe left there is none to be current.
    effect.currentKeyframe = effect.keyframeCount > 0 ? std::max(k - 1, 1) : 0;
    RereadKeyframes(effect);
}

void PanelConsole::OnKeyframeButton(int button) {
    EffectRecord* effect = EffectAt(g_currentEffect);
    if (effect == nullptr) {
        return;
    }
    switch (button) {
        case kInsertButton:
            InsertKeyframe(*effect);
            break;
        case kDeleteButton:
            DeleteKeyframe(*effect);
            break;
        case kRunButton:
            static_cast<void>(SelectEffect());
            break;
        default:
            // Velocity break and the two assignable buttons have no action of the panel's.
            break;
    }
}

// The knobs bound anew; in the keyframe menu the KeyFrame knob picks the current keyframe,
// and the frame time follows it.
void PanelConsole::BindKnobs() {
    const int menu = CurrentMenu();
    if (menu < 0 || menu > kLastCustomMenu) {
        return;
    }
    m_view.BindKnobs();
    if (menu != kKeyframeMenu) {
        return;
    }
    EffectRecord* effect = EffectAt(g_currentEffect);
    if (effect == nullptr || g_panelModel.m_keyframeParam.value == effect->currentKeyframe) {
        return;
    }
    effect->currentKeyframe = g_panelModel.m_keyframeParam.value;
    ShowLine();
    ShowCurrentFrameTime(*effect);
}

int PanelConsole::CurrentKeyframe() {
    const EffectRecord* effect = EffectAt(g_currentEffect);
    return effect != nullptr ? effect->currentKeyframe : 0;
}

int PanelConsole::KeyframeCount() {
    const EffectRecord* effect = EffectAt(g_currentEffect);
    return effect != nullptr ? effect->keyframeCount : 0;
}
