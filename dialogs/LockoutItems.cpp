#include "dialogs/LockoutItems.h"

#include <algorithm>
#include <set>

#include "link/LockoutCommands.h"
#include "link/SetOnAirLockout.h"
#include "model/PanelModel.h"

namespace {

constexpr int kFirstListedFunction = 129;
constexpr int kLastListedFunction = 254;

bool Unlocked(int table, int index) {
    return index >= 0 && index < kLockTableSize &&
           g_onAirLockTable[table][index] == kLockStateUnlocked;
}

// The flags word of a control's record, or null for a number without one.
int32_t* RecordFlags(int number) {
    if (number >= 0 && number <= kLastKnobParameter) {
        return &g_paramTable[number].flags;
    }
    if (number > kFirstFunctionNumber && number <= 255) {
        return &g_functionTable[number - kFirstFunctionNumber].flags;
    }
    return nullptr;
}

}  // namespace

std::string ControlItemName(const std::string& text) {
    std::string name;
    name.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        name += text[i] == '\n' || text[i] == '\r' ? ' ' : text[i];
    }
    return name;
}

std::vector<LockoutItem> CollectLockoutItems() {
    std::vector<LockoutItem> items;
    for (const ParamRecord& param : g_paramTable) {
        if (param.number == kEmptyKnobParam || param.name.empty() || param.number < 0 ||
            param.number > kLastKnobParameter) {
            continue;
        }
        items.push_back({ControlItemName(param.name), static_cast<uint8_t>(param.number),
                         !Unlocked(kKnobLockTable, param.number)});
    }
    for (int offset = 0; offset < kLockTableSize; ++offset) {
        const FunctionRecord& function = g_functionTable[offset];
        if (function.number < kFirstListedFunction || function.number > kLastListedFunction) {
            continue;
        }
        items.push_back({ControlItemName(function.label), static_cast<uint8_t>(function.number),
                         !Unlocked(kFunctionLockTable, offset)});
    }
    return items;
}

std::vector<uint8_t> AllLockoutNumbers() {
    std::set<uint8_t> numbers;
    const auto add = [&numbers](int32_t number) {
        if (number != kEmptyKnobParam && number >= 0 && number <= 255) {
            numbers.insert(static_cast<uint8_t>(number));
        }
    };
    for (const ParamRecord& param : g_paramTable) {
        add(param.number);
    }
    for (int offset = 0; offset < kLockTableSize; ++offset) {
        add(g_functionTable[offset].number);
    }
    return {numbers.begin(), numbers.end()};
}

Status SetLockoutWithRetry(uint8_t number, uint8_t state) {
    const Status status = SetOnAirLockout(number, state);
    return status == Status::Ok ? status : SetOnAirLockout(number, state);
}

bool HasControlRecord(int number) {
    return RecordFlags(number) != nullptr;
}

bool ControlRecordLocked(int number) {
    const int32_t* flags = RecordFlags(number);
    return flags != nullptr && (*flags & kFlagOnAirLocked) != 0;
}

void SetControlRecordLocked(int number, bool locked) {
    if (int32_t* flags = RecordFlags(number)) {
        *flags = locked ? (*flags | kFlagOnAirLocked) : (*flags & ~kFlagOnAirLocked);
    }
}

std::string ControlRecordName(int number) {
    if (number >= 0 && number <= kLastKnobParameter) {
        return ControlItemName(g_paramTable[number].name);
    }
    if (number > kFirstFunctionNumber && number <= 255) {
        return ControlItemName(g_functionTable[number - kFirstFunctionNumber].label);
    }
    return {};
}
