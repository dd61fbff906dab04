// Parameter changes and value reads. Knob parameters (0..127) are 16-bit words, function
// parameters (128..255) single bytes, on the wire as in the unit.
#include "protocol/AnswerCodes.h"
#include "protocol/ParameterArguments.h"
#include "sim/unit/UnitCommands.h"

namespace {

constexpr int kFirstWordBlock = 127;  // parameters 0..126 in the first answer

SimAnswer UpdateAnswer(const UpdateList& changes) {
    SimAnswer answer{kCodeParameterUpdates, {}};
    for (const auto& [number, value] : changes) {
        // Stop before an entry that would not fit whole.
        const size_t size = number < kFirstFunctionNumber ? 3 : 2;
        if (answer.data.size() + size > kMaxAnswerData) {
            break;
        }
        answer.data.push_back(number);
        if (number < kFirstFunctionNumber) {
            AppendWord(answer.data, value);
        } else {
            answer.data.push_back(static_cast<uint8_t>(value));
        }
    }
    return answer;
}

std::optional<SimAnswer> Adjust(SimUnit& unit, const SimRequest& request) {
    if (request.ArgCount() != 3) {
        return std::nullopt;
    }
    const auto delta = static_cast<int16_t>((request.Arg(1) << 8) | request.Arg(2));
    return UpdateAnswer(unit.Adjust(request.Arg(0), delta));
}

std::optional<SimAnswer> SetValue(SimUnit& unit, const SimRequest& request) {
    if (request.ArgCount() == 3) {
        const int number = request.Arg(0);
        const int word = (request.Arg(1) << 8) | request.Arg(2);
        // Knob values are signed words; the reset request is the word 0x7FFF itself.
        const int value = number < kFirstFunctionNumber ? static_cast<int16_t>(word) : word;
        return UpdateAnswer(unit.SetValue(number, value));
    }
    if (request.ArgCount() == 2) {
        const int number = request.Arg(0);
        if (number >= kFirstFunctionNumber && request.Arg(1) == kFunctionValueQuery) {
            return UpdateAnswer({{static_cast<uint8_t>(number), unit.Value(number)}});
        }
        return UpdateAnswer(unit.SetValue(number, request.Arg(1)));
    }
    return std::nullopt;
}

// Parameters 0..126 as words.
SimAnswer WordBlock(uint8_t code, int (SimUnit::*read)(int) const, const SimUnit& unit) {
    SimAnswer answer{code, {}};
    for (int number = 0; number < kFirstWordBlock; ++number) {
        AppendWord(answer.data, (unit.*read)(number));
    }
    return answer;
}

// Parameter 127 as a word, then 128..255 one byte each.
SimAnswer RestBlock(uint8_t code, int (SimUnit::*read)(int) const, const SimUnit& unit) {
    SimAnswer answer{code, {}};
    AppendWord(answer.data, (unit.*read)(kFirstWordBlock));
    for (int number = kFirstFunctionNumber; number < 256; ++number) {
        answer.data.push_back(static_cast<uint8_t>((unit.*read)(number)));
    }
    return answer;
}

std::optional<SimAnswer> ReadValues(SimUnit& unit, const SimRequest&) {
    unit.ValuesRead();
    return WordBlock(kCodeValuesFull, &SimUnit::Value, unit);
}

std::optional<SimAnswer> ReadValuesRest(SimUnit& unit, const SimRequest&) {
    return RestBlock(kCodeValuesRest, &SimUnit::Value, unit);
}

std::optional<SimAnswer> ReadReferences(SimUnit& unit, const SimRequest&) {
    return WordBlock(kCodeReferencesFirst, &SimUnit::Reference, unit);
}

std::optional<SimAnswer> ReadReferencesRest(SimUnit& unit, const SimRequest&) {
    return RestBlock(kCodeReferencesRest, &SimUnit::Reference, unit);
}

}  // namespace

void RegisterParameterCommands(CommandTable& table) {
    table.Register(Command::AdjustParameter, Adjust);
    table.Register(Command::SetParameter, SetValue);
    table.Register(Command::ReadParameterValues, ReadValues);
    table.Register(Command::ReadParameterValuesRest, ReadValuesRest);
    table.Register(Command::ReadReferenceValues, ReadReferences);
    table.Register(Command::ReadReferenceValuesRest, ReadReferencesRest);
}
