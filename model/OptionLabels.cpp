#include "model/OptionLabels.h"

#include <algorithm>
#include <cctype>

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

bool SameLabel(std::string_view a, std::string_view b) {
    const auto trimmed = [](std::string_view text) {
        while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
            text.remove_prefix(1);
        }
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
            text.remove_suffix(1);
        }
        return text;
    };
    a = trimmed(a);
    b = trimmed(b);
    return !a.empty() && a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::toupper(x) == std::toupper(y);
           });
}
