#include "link/DialogRequests.h"

#include <vector>

#include "link/CommandExchange.h"
#include "link/EffectCommands.h"
#include "link/KeyframeCommands.h"
#include "protocol/EffectArguments.h"

namespace {

constexpr size_t kMaxAssignmentItems = 251;

}  // namespace

Status RequestEffectInfo(uint8_t effectNumber, AnswerBuffer& answer) {
    return Exchange(Command::Effect, {effectNumber, Byte(EffectOperation::Read)}, kPatience10s,
                    answer);
}

Status RequestEffectDelete(uint8_t effectNumber, AnswerBuffer& answer) {
    return Exchange(Command::Effect, {effectNumber, Byte(EffectOperation::Delete)}, kPatience60s,
                    answer);
}

Status RequestAssignments(uint8_t effectNumber, AnswerBuffer& answer) {
    return Exchange(Command::Assignments, {effectNumber, Byte(EffectOperation::Read)}, kPatience10s,
                    answer);
}

Status WriteAssignments(uint8_t effectNumber, std::span<const uint8_t> items,
                        AnswerBuffer& answer) {
    if (items.size() > kMaxAssignmentItems) {
        return Status::WriteFailed;
    }
    std::vector<uint8_t> arguments{effectNumber, Byte(EffectOperation::Write),
                                   static_cast<uint8_t>(items.size())};
    arguments.insert(arguments.end(), items.begin(), items.end());
    return Exchange(Command::Assignments, arguments, kPatience60s, answer);
}

Status RequestKeyframe(uint8_t effectNumber, uint8_t keyframeIndex, AnswerBuffer& answer) {
    return Exchange(Command::Keyframe, {effectNumber, keyframeIndex, Byte(EffectOperation::Read)},
                    kPatience10s, answer);
}
