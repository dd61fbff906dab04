#include "history/RequestChanges.h"

#include <cstdio>

#include "protocol/Commands.h"
#include "protocol/EffectArguments.h"
#include "protocol/ParameterArguments.h"

namespace {

int Word(std::span<const uint8_t> bytes, size_t at) {
    return at + 1 < bytes.size() ? bytes[at] << 8 | bytes[at + 1] : 0;
}

std::string HexBytes(std::span<const uint8_t> bytes) {
    std::string text;
    for (const uint8_t byte : bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", byte);
        text += text.empty() ? hex : std::string(" ") + hex;
    }
    return text;
}

std::string FileId(std::span<const uint8_t> arguments) {
    return "file " + std::to_string(arguments.size() >= 2 ? Word(arguments, 0)
                                                          : (arguments.empty() ? 0 : arguments[0]));
}

// Effect requests that change the unit: a write or a delete; reads change nothing.
bool EffectChanges(std::span<const uint8_t> arguments, size_t operationAt) {
    if (operationAt >= arguments.size()) {
        return false;
    }
    const auto operation = static_cast<EffectOperation>(arguments[operationAt]);
    return operation == EffectOperation::Write || operation == EffectOperation::Delete ||
           operation == EffectOperation::GoTo;
}

RequestChange Other(std::string control, std::string arguments) {
    return {ChangeKind::Other, -1, 0, std::move(control), std::move(arguments)};
}

}  // namespace

std::optional<RequestChange> DecodeRequest(std::span<const uint8_t> payload) {
    if (payload.empty()) {
        return std::nullopt;
    }
    const std::span<const uint8_t> arguments = payload.subspan(1);
    switch (static_cast<Command>(payload[0])) {
        case Command::AdjustParameter:
            if (arguments.size() < 3) {
                return std::nullopt;
            }
            return RequestChange{ChangeKind::Turn, arguments[0],
                                 static_cast<int16_t>(Word(arguments, 1))};
        case Command::SetParameter:
            if (arguments.size() == 3 && arguments[0] <= kLastKnobParameter) {
                return RequestChange{ChangeKind::SetValue, arguments[0], Word(arguments, 1)};
            }
            if (arguments.size() == 2 && arguments[0] >= kFirstFunctionNumber &&
                arguments[1] != kFunctionValueQuery) {
                return RequestChange{ChangeKind::SetValue, arguments[0], arguments[1]};
            }
            return std::nullopt;
        case Command::DeleteFileMain:
            return Other("delete main file", FileId(arguments));
        case Command::DeleteFileUser:
            return Other("delete user file", FileId(arguments));
        case Command::LoadFileMain:
            return Other("load main file", FileId(arguments));
        case Command::LoadFileUser:
            return Other("load user file", FileId(arguments));
        case Command::WriteFileEntryMain:
            return Other("save main file", FileId(arguments));
        case Command::WriteFileEntryUser:
            return Other("save user file", FileId(arguments));
        case Command::UpdateFileSystem:
            return Other("update file system", {});
        case Command::SetOnAirLockout:
            return Other("on-air lock-out", HexBytes(arguments));
        case Command::SetGpiEvent:
            return Other("GPI event", HexBytes(arguments));
        case Command::SelectEffect:
            return Other("select effect", HexBytes(arguments));
        case Command::Effect:
        case Command::Assignments:
            if (!EffectChanges(arguments, 1)) {
                return std::nullopt;
            }
            return Other(static_cast<Command>(payload[0]) == Command::Effect ? "effect"
                                                                             : "effect assignments",
                         HexBytes(arguments));
        case Command::Keyframe:
            if (!EffectChanges(arguments, 2)) {
                return std::nullopt;
            }
            return Other("keyframe", HexBytes(arguments));
        default:
            return std::nullopt;
    }
}

std::optional<int> UpdatedValue(std::span<const uint8_t> answerData, int number) {
    std::optional<int> value;
    for (size_t at = 0; at < answerData.size();) {
        const int entry = answerData[at];
        const size_t size = entry <= kLastKnobParameter ? 2 : 1;
        if (at + size >= answerData.size()) {  // an entry cut off by the end
            break;
        }
        if (entry == number) {
            value = size == 2 ? static_cast<int16_t>(Word(answerData, at + 1)) : answerData[at + 1];
        }
        at += 1 + size;
    }
    return value;
}
