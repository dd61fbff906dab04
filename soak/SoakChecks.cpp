#include "soak/SoakChecks.h"

#include <unistd.h>

#include <fstream>

#include "sim/unit/SimUnit.h"

namespace {

std::string Change(const std::string& what, int index, int before, int after) {
    return what + " " + std::to_string(index) + " " + std::to_string(before) + " -> " +
           std::to_string(after);
}

template <size_t N>
std::string FirstChange(const std::string& what, int firstNumber,
                        const std::array<int16_t, N>& before, const std::array<int16_t, N>& after) {
    for (size_t i = 0; i < N; ++i) {
        if (before[i] != after[i]) {
            return Change(what, firstNumber + static_cast<int>(i), before[i], after[i]);
        }
    }
    return {};
}

bool SameMenu(const MenuRecord& a, const MenuRecord& b) {
    return a.number == b.number && a.kind == b.kind && a.flags == b.flags &&
           a.knobParam == b.knobParam && a.entry == b.entry && a.title == b.title &&
           a.shortName == b.shortName;
}

// A value and its reference value.
struct ValuePair {
    int value;
    int reference;
};

// "parameter value 5: panel 120, unit 0" for the first of the pair the panel holds otherwise
// than the unit; empty when both match.
std::string EntryMismatch(const std::string& what, int number, ValuePair panel, ValuePair unit) {
    const auto text = [&](const char* field, int held, int wanted) {
        return what + field + std::to_string(number) + ": panel " + std::to_string(held) +
               ", unit " + std::to_string(wanted);
    };
    if (panel.value != unit.value) {
        return text(" value ", panel.value, unit.value);
    }
    if (panel.reference != unit.reference) {
        return text(" reference ", panel.reference, unit.reference);
    }
    return {};
}

}  // namespace

TableSnapshot TakeTableSnapshot() {
    TableSnapshot snapshot;
    for (int i = 0; i < kParamCount; ++i) {
        snapshot.paramValues[static_cast<size_t>(i)] = g_paramTable[i].value;
        snapshot.paramReferences[static_cast<size_t>(i)] = g_paramTable[i].referenceValue;
    }
    for (int i = 0; i < kFunctionCount; ++i) {
        snapshot.functionValues[static_cast<size_t>(i)] = g_functionTable[i].value;
        snapshot.functionReferences[static_cast<size_t>(i)] = g_functionTable[i].referenceValue;
    }
    for (int i = 0; i < kMenuCount; ++i) {
        snapshot.menus[static_cast<size_t>(i)] = g_menuTable[i];
    }
    return snapshot;
}

std::string FirstDifference(const TableSnapshot& before, const TableSnapshot& after) {
    for (const std::string& change :
         {FirstChange("parameter value", 0, before.paramValues, after.paramValues),
          FirstChange("parameter reference", 0, before.paramReferences, after.paramReferences),
          FirstChange("function value", kFirstFunctionNumber, before.functionValues,
                      after.functionValues),
          FirstChange("function reference", kFirstFunctionNumber, before.functionReferences,
                      after.functionReferences)}) {
        if (!change.empty()) {
            return change;
        }
    }
    for (size_t i = 0; i < before.menus.size(); ++i) {
        if (!SameMenu(before.menus[i], after.menus[i])) {
            return "menu " + std::to_string(i) + " \"" + before.menus[i].title + "\" -> \"" +
                   after.menus[i].title + "\"";
        }
    }
    return {};
}

std::string FirstMismatchWithUnit(const SimUnit& unit) {
    std::string mismatch;
    for (int number = 0; number <= kLastKnobParameter && mismatch.empty(); ++number) {
        const ParamRecord& record = g_paramTable[number];
        mismatch = EntryMismatch("parameter", number, {record.value, record.referenceValue},
                                 {static_cast<int16_t>(unit.Value(number)),
                                  static_cast<int16_t>(unit.Reference(number))});
    }
    for (int number = kFirstFunctionNumber; number < 256 && mismatch.empty(); ++number) {
        const FunctionRecord& record = g_functionTable[number - kFirstFunctionNumber];
        mismatch = EntryMismatch("function", number, {record.value, record.referenceValue},
                                 {static_cast<uint8_t>(unit.Value(number)),
                                  static_cast<uint8_t>(unit.Reference(number))});
    }
    return mismatch;
}

size_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    size_t pages = 0;
    size_t resident = 0;
    if (!(statm >> pages >> resident)) {
        return 0;
    }
    return resident * static_cast<size_t>(::sysconf(_SC_PAGESIZE));
}
