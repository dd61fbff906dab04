#include "sim/unit/UnitCommands.h"

#include <algorithm>
#include <string>

const CommandTable& UnitCommands() {
    static const CommandTable table = [] {
        CommandTable t;
        RegisterStatusCommands(t);
        RegisterParameterCommands(t);
        RegisterMenuDataCommands(t);
        RegisterTextCommands(t);
        RegisterLockoutCommands(t);
        RegisterFileCommands(t);
        RegisterGpiCommands(t);
        RegisterEffectCommands(t);
        return t;
    }();
    return table;
}

void AppendText(std::vector<uint8_t>& data, const std::string& text, size_t used) {
    const size_t room = kMaxAnswerData > used + 1 ? kMaxAnswerData - used - 1 : 0;
    const size_t length = std::min(text.size(), room);
    data.insert(data.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
    data.push_back(0);
}
