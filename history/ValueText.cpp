#include "history/ValueText.h"

#include "model/KnobGauge.h"
#include "model/OptionLabels.h"
#include "protocol/ParameterArguments.h"

std::string ParameterValueText(const ParamRecord& record, int value) {
    ParamRecord shown = record;
    shown.value = static_cast<int16_t>(value);
    return ShownValueText(shown);
}

std::string FunctionValueText(const FunctionRecord& record, int value) {
    if (record.optionCount > 1) {
        std::string option = OptionLabel(record.label, value);
        if (!option.empty()) {
            return option;
        }
    }
    return std::to_string(value);
}

std::string ValueText(int number, int value) {
    if (number <= kLastKnobParameter) {
        return ParameterValueText(g_paramTable[number], value);
    }
    return FunctionValueText(g_functionTable[number - kFirstFunctionNumber], value);
}

std::string ParameterName(int number) {
    std::string name;
    if (number >= 0 && number <= kLastKnobParameter) {
        name = g_paramTable[number].name;
    } else if (number >= kFirstFunctionNumber && number - kFirstFunctionNumber < kFunctionCount) {
        const FunctionRecord& record = g_functionTable[number - kFirstFunctionNumber];
        name = record.optionCount > 1 ? OptionLabel(record.label, 0) : record.label;
    }
    return name.empty() ? "parameter " + std::to_string(number) : name;
}
