#include "tests/support/ModelRecords.h"

#include <algorithm>

ParamRecord MakeParam(const std::string& name, int flags, int16_t rawMin, int16_t rawMax,
                      int16_t dispMin, int16_t dispMax, int16_t value) {
    ParamRecord param;
    param.name = name;
    param.flags = flags;
    param.rawMin = rawMin;
    param.rawMax = rawMax;
    param.dispMin = dispMin;
    param.dispMax = dispMax;
    param.value = value;
    return param;
}

FunctionRecord MakeFunction(int number, int value, const std::string& labels) {
    FunctionRecord function;
    function.number = number;
    function.value = static_cast<int16_t>(value);
    function.label = labels;
    function.optionCount = 1 + static_cast<int32_t>(std::count(labels.begin(), labels.end(), ','));
    function.maxValue = static_cast<int16_t>(function.optionCount - 1);
    return function;
}
