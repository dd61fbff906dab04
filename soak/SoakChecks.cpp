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

std::string Mismatch(const std::string& what, int number, int panel, int unit) {
    return what + " " + std::to_string(number) + ": panel " + std::to_string(panel) + ", unit " +
           std::to_string(unit);
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
    for (int number = 0; number <= kLastKnobParameter; ++number) {
        const ParamRecord& record = g_paramTable[number];
        const auto value = static_cast<int16_t>(unit.Value(number));
        const auto reference = static_cast<int16_t>(unit.Reference(number));
        if (record.value != value) {
            return Mismatch("parameter value", number, record.value, value);
        }
        if (record.referenceValue != reference) {
            return Mismatch("parameter reference", number, record.referenceValue, reference);
        }
    }
    for (int number = kFirstFunctionNumber; number < 256; ++number) {
        const FunctionRecord& record = g_functionTable[number - kFirstFunctionNumber];
        const auto value = static_cast<uint8_t>(unit.Value(number));
        const auto reference = static_cast<uint8_t>(unit.Reference(number));
        if (record.value != value) {
            return Mismatch("function value", number, record.value, value);
        }
        if (record.referenceValue != reference) {
            return Mismatch("function reference", number, record.referenceValue, reference);
        }
    }
    return {};
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
