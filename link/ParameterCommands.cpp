#include "link/ParameterCommands.h"

#include "link/CommandExchange.h"
#include "model/PanelModel.h"

namespace {

constexpr uint8_t kCommandAdjust = 0x81;
constexpr uint8_t kCommandSetValue = 0xA8;
constexpr uint8_t kCommandReadValues = 0xAC;
constexpr uint8_t kCommandReadValuesRest = 0xAE;
constexpr uint8_t kCommandReadReferences = 0xAD;
constexpr uint8_t kCommandReadReferencesRest = 0xAF;

constexpr int kFunctionParameters = 128;  // function numbers 128..255, offsets 0..127
constexpr int kFullValuesLength = 255;
constexpr int kShortValuesLength = 27;
constexpr int kRestLength = 131;
constexpr int kFunctionDataStart = 2;  // after the word of parameter 127

constexpr uint32_t kSetWordTries = kTries10k;
constexpr uint32_t kSetByteTries = kTries1k;
constexpr uint32_t kAdjustTries = kTries1k;
constexpr uint32_t kValueReadTries = kTries10k;

uint8_t High(uint16_t word) {
    return static_cast<uint8_t>(word >> 8);
}
uint8_t Low(uint16_t word) {
    return static_cast<uint8_t>(word & 0xFF);
}

int16_t DataWord(const uint8_t* answer, int k) {
    return static_cast<int16_t>(AnswerData(answer, k) << 8 | AnswerData(answer, k + 1));
}

// The exchange of the parameter-changing commands: code 04 carries an update list.
int ExchangeUpdates(std::initializer_list<uint8_t> payload, uint32_t tries, AnswerBuffer& answer) {
    const int status = ExchangeExpecting(payload, tries, kCodeParameterUpdates, answer);
    if (status == kStatusOk) {
        ApplyParameterUpdates(answer.data());
    }
    return status;
}

int ChangeParameter(std::initializer_list<uint8_t> payload, uint32_t tries) {
    AnswerBuffer answer{};
    return ExchangeUpdates(payload, tries, answer);
}

// A reference read: the length is checked first (3), then the code (6).
int ExchangeOfLength(std::initializer_list<uint8_t> payload, int length, uint8_t code,
                     AnswerBuffer& answer) {
    const int status = Exchange(payload, kValueReadTries, answer);
    if (status != kStatusOk) {
        return status;
    }
    if (AnswerLength(answer.data()) != length) {
        return kStatusWrongLength;
    }
    return ExpectCode(answer, code);
}

void StoreFunctionValues(const uint8_t* answer) {
    const int dataCount = AnswerDataCount(answer);
    for (int j = kFunctionDataStart; j < dataCount; ++j) {
        const int offset = j - kFunctionDataStart;
        if (offset >= kFunctionParameters) {
            break;  // a longer answer names no function the table holds
        }
        g_functionTable[offset].value = AnswerData(answer, j);
    }
}

}  // namespace

void ApplyParameterUpdates(const uint8_t* answer) {
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

int AdjustParameter(uint8_t number, int16_t delta) {
    const auto bits = static_cast<uint16_t>(delta);
    return ChangeParameter({kCommandAdjust, number, High(bits), Low(bits)}, kAdjustTries);
}

int SetParameterWord(uint8_t number, uint16_t value) {
    return ChangeParameter({kCommandSetValue, number, High(value), Low(value)}, kSetWordTries);
}

int SetParameterByte(uint8_t number, uint8_t value) {
    return ChangeParameter({kCommandSetValue, number, value}, kSetByteTries);
}

int SendParameterByte(uint8_t number, uint8_t value, uint32_t tries, AnswerBuffer& answer) {
    return ExchangeUpdates({kCommandSetValue, number, value}, tries, answer);
}

int SendParameterByteNoAnswer(uint8_t number, uint8_t value) {
    return SendRequest({kCommandSetValue, number, value});
}

int ReadParameterValues() {
    AnswerBuffer answer{};
    int status = Exchange({kCommandReadValues}, kValueReadTries, answer);
    if (status != kStatusOk) {
        return status;
    }
    const int code = AnswerCode(answer.data());
    const int length = AnswerLength(answer.data());
    if (code != kCodeValuesFull && code != kCodeValuesShort) {
        return kStatusWrongCode;
    }
    const int expectedLength = code == kCodeValuesFull ? kFullValuesLength : kShortValuesLength;
    if (length != expectedLength) {
        return kStatusWrongLength;
    }
    for (int k = 0; k < length - 1; k += 2) {
        g_paramTable[k / 2].value = DataWord(answer.data(), k);
    }

    status = ExchangeExpecting({kCommandReadValuesRest}, kValueReadTries, kCodeValuesRest, answer);
    if (status != kStatusOk) {
        return status;
    }
    g_paramTable[kLastKnobParameter].value = DataWord(answer.data(), 0);
    StoreFunctionValues(answer.data());
    return kStatusOk;
}

int ReadReferenceValues() {
    AnswerBuffer answer{};
    int status =
        ExchangeOfLength({kCommandReadReferences}, kFullValuesLength, kCodeReferencesFirst, answer);
    if (status != kStatusOk) {
        return status;
    }
    for (int number = 0; number < kLastKnobParameter; ++number) {
        g_paramTable[number].referenceValue = DataWord(answer.data(), 2 * number);
    }

    status =
        ExchangeOfLength({kCommandReadReferencesRest}, kRestLength, kCodeReferencesRest, answer);
    if (status != kStatusOk) {
        return status;
    }
    g_paramTable[kLastKnobParameter].referenceValue = DataWord(answer.data(), 0);
    for (int offset = 0; offset < kFunctionParameters; ++offset) {
        g_functionTable[offset].referenceValue =
            AnswerData(answer.data(), kFunctionDataStart + offset);
    }
    return kStatusOk;
}
