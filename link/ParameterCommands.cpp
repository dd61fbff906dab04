#include "link/ParameterCommands.h"

#include <algorithm>

#include "link/CommandExchange.h"
#include "model/PanelModel.h"
#include "protocol/AnswerCodes.h"

namespace {

constexpr int kFullValuesLength = 255;
constexpr int kShortValuesLength = 27;
constexpr int kRestLength = 131;
constexpr int kFunctionDataStart = 2;  // after the word of parameter 127

constexpr Patience kSetWordPatience = kPatience60s;
constexpr Patience kSetBytePatience = kPatience20s;
constexpr Patience kAdjustPatience = kPatience20s;
constexpr Patience kValueReadPatience = kPatience10s;

uint8_t High(uint16_t word) {
    return static_cast<uint8_t>(word >> 8);
}
uint8_t Low(uint16_t word) {
    return static_cast<uint8_t>(word & 0xFF);
}

int16_t DataWord(const AnswerBuffer& answer, int k) {
    return static_cast<int16_t>(AnswerData(answer, k) << 8 | AnswerData(answer, k + 1));
}

// The exchange of the parameter-changing commands: code 04 carries an update list.
Status ExchangeUpdates(Command command, std::initializer_list<uint8_t> arguments, Patience patience,
                       AnswerBuffer& answer) {
    const Status status =
        ExchangeExpecting(command, arguments, patience, kCodeParameterUpdates, answer);
    if (status == Status::Ok) {
        ApplyParameterUpdates(answer);
    }
    return status;
}

Status ChangeParameter(Command command, std::initializer_list<uint8_t> arguments,
                       Patience patience) {
    AnswerBuffer answer{};
    return ExchangeUpdates(command, arguments, patience, answer);
}

// A reference read: the length is checked first (WrongLength), then the code (WrongCode).
Status ExchangeOfLength(Command command, int length, uint8_t code, AnswerBuffer& answer) {
    const Status status = Exchange(command, {}, kValueReadPatience, answer);
    if (status != Status::Ok) {
        return status;
    }
    if (AnswerLength(answer) != length) {
        return Status::WrongLength;
    }
    return ExpectCode(answer, code);
}

// Where a read of the selected unit puts what it reads.
void StoreInTables(const UnitValues& values) {
    for (int number = 0; number < kUnitParameters; ++number) {
        if (const auto& value = values.parameters[number]) {
            g_paramTable[number].value = *value;
        }
    }
    for (int offset = 0; offset < kUnitFunctions; ++offset) {
        if (const auto& value = values.functions[offset]) {
            g_functionTable[offset].value = *value;
        }
    }
}

// The two requests of a values read to the unit at `unitAddress` and their checks; `first`
// and `rest` store each answer that passes them.
template <typename StoreFirst, typename StoreRest>
Status ReadValues(uint8_t unitAddress, StoreFirst first, StoreRest rest) {
    AnswerBuffer answer{};
    Status status =
        ExchangeWith(unitAddress, Command::ReadParameterValues, {}, kValueReadPatience, answer);
    if (status != Status::Ok) {
        return status;
    }
    const int code = AnswerCode(answer);
    const int length = AnswerLength(answer);
    if (code != kCodeValuesFull && code != kCodeValuesShort) {
        return Status::WrongCode;
    }
    const int expectedLength = code == kCodeValuesFull ? kFullValuesLength : kShortValuesLength;
    if (length != expectedLength) {
        return Status::WrongLength;
    }
    first(answer);

    status =
        ExchangeWith(unitAddress, Command::ReadParameterValuesRest, {}, kValueReadPatience, answer);
    if (status == Status::Ok) {
        status = ExpectCode(answer, kCodeValuesRest);
    }
    if (status != Status::Ok) {
        return status;
    }
    rest(answer);
    return Status::Ok;
}

}  // namespace

void ApplyParameterUpdates(const AnswerBuffer& answer) {
    const int dataCount = AnswerDataCount(answer);
    int position = 0;
    while (position < dataCount) {
        const uint8_t number = AnswerData(answer, position);
        if (number < kFirstFunctionNumber) {
            if (position + 3 > dataCount) {
                return;
            }
            g_paramTable[number].value = DataWord(answer, position + 1);
            position += 3;
        } else {
            if (position + 2 > dataCount) {
                return;
            }
            g_functionTable[number - kFirstFunctionNumber].value = AnswerData(answer, position + 1);
            position += 2;
        }
    }
}

void StoreParameterValues(const AnswerBuffer& answer, UnitValues& values) {
    const int words = std::min(AnswerDataCount(answer) / 2, kLastKnobParameter);
    for (int number = 0; number < words; ++number) {
        values.parameters[number] = DataWord(answer, 2 * number);
    }
}

void StoreRemainingValues(const AnswerBuffer& answer, UnitValues& values) {
    const int dataCount = AnswerDataCount(answer);
    if (dataCount < kFunctionDataStart) {
        return;  // not even parameter 127: the buffer holds only an earlier answer's bytes
    }
    values.parameters[kLastKnobParameter] = DataWord(answer, 0);
    const int functions = std::min(dataCount - kFunctionDataStart, kUnitFunctions);
    for (int offset = 0; offset < functions; ++offset) {
        values.functions[offset] = AnswerData(answer, kFunctionDataStart + offset);
    }
}

void StoreParameterValues(const AnswerBuffer& answer) {
    UnitValues values;
    StoreParameterValues(answer, values);
    StoreInTables(values);
}

void StoreRemainingValues(const AnswerBuffer& answer) {
    UnitValues values;
    StoreRemainingValues(answer, values);
    StoreInTables(values);
}

Status AdjustParameter(uint8_t number, int16_t delta) {
    const auto bits = static_cast<uint16_t>(delta);
    return ChangeParameter(Command::AdjustParameter, {number, High(bits), Low(bits)},
                           kAdjustPatience);
}

Status SetParameterWord(uint8_t number, uint16_t value) {
    return ChangeParameter(Command::SetParameter, {number, High(value), Low(value)},
                           kSetWordPatience);
}

Status SetParameterByte(uint8_t number, uint8_t value) {
    return ChangeParameter(Command::SetParameter, {number, value}, kSetBytePatience);
}

Status SendParameterByte(uint8_t number, uint8_t value, Patience patience, AnswerBuffer& answer) {
    return ExchangeUpdates(Command::SetParameter, {number, value}, patience, answer);
}

Status SendParameterByteNoAnswer(uint8_t number, uint8_t value) {
    return SendRequest(Command::SetParameter, {number, value});
}

Status ReadParameterValues(const std::function<void()>& stored) {
    // Each answer goes to the tables as it comes, so what came before a failing step stays.
    const auto tell = [&stored] {
        if (stored) {
            stored();
        }
    };
    return ReadValues(
        g_currentUnitAddress,
        [&](const AnswerBuffer& answer) {
            StoreParameterValues(answer);
            tell();
        },
        [&](const AnswerBuffer& answer) {
            StoreRemainingValues(answer);
            tell();
        });
}

Status ReadParameterValuesOf(uint8_t unitAddress, UnitValues& values) {
    return ReadValues(
        unitAddress, [&](const AnswerBuffer& answer) { StoreParameterValues(answer, values); },
        [&](const AnswerBuffer& answer) { StoreRemainingValues(answer, values); });
}

Status ReadReferenceValues() {
    AnswerBuffer answer{};
    Status status = ExchangeOfLength(Command::ReadReferenceValues, kFullValuesLength,
                                     kCodeReferencesFirst, answer);
    if (status != Status::Ok) {
        return status;
    }
    for (int number = 0; number < kLastKnobParameter; ++number) {
        g_paramTable[number].referenceValue = DataWord(answer, 2 * number);
    }

    status = ExchangeOfLength(Command::ReadReferenceValuesRest, kRestLength, kCodeReferencesRest,
                              answer);
    if (status != Status::Ok) {
        return status;
    }
    g_paramTable[kLastKnobParameter].referenceValue = DataWord(answer, 0);
    for (int offset = 0; offset < kUnitFunctions; ++offset) {
        g_functionTable[offset].referenceValue = AnswerData(answer, kFunctionDataStart + offset);
    }
    return Status::Ok;
}
