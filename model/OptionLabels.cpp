#include "model/OptionLabels.h"

std::string OptionLabel(const std::string& labels, int index) {
    if (index < 0) {
        return {};
    }
    size_t start = 0;
    for (int token = 0; token < index; ++token) {
        const size_t comma = labels.find(',', start);
        if (comma == std::string::npos) {
            return {};
        }
        start = comma + 1;
    }
    const size_t end = labels.find(',', start);
    return labels.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string FunctionOptionName(int functionNumber) {
    const int offset = functionNumber - kFirstFunctionNumber;
    if (offset < 0 || offset >= kFunctionCount) {
        return {};
    }
    const FunctionRecord& function = g_functionTable[offset];
    return OptionLabel(function.label, function.value);
}
