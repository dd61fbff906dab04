#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "link/Patience.h"
#include "model/PanelModel.h"

class SimUnit;

// How long the panel may take to be back at work with the selected unit once a fault has
// cleared: a vanished device is tried once a second, a unit that answers again is given a
// one-second pause, then its menus are retrieved and its values read, and a unit that never
// quite stopped answering needs its three missed polls (each pausing the next for a second)
// before the loss is declared and the unit retrieved afresh.
constexpr uint32_t kRecoveryBound_ms = 20'000;

// The longest one call into the panel may block the window. The status poll finds a unit that
// does not answer within its 200 ms, and a unit that answered its status is asked nothing it
// leaves unanswered (faults switch between calls, never inside one), so no call ever waits
// out a command's full patience. The bound still allows the patience of the user's own
// actions, the 20 s of a knob turn or button press, with the panel's own pauses on top (the
// recovery pause, the failed poll's pause, the two breaks of a declared loss).
constexpr uint32_t kPanelPauses_ms = 1000 + 1000 + 2 * 100 + 2 * 100;
constexpr uint32_t kLongestBlockingCall_ms =
    static_cast<uint32_t>(std::chrono::milliseconds(kPatience20s.Reads() * kByteRead).count()) +
    kPanelPauses_ms;

// The panel's records of the selected unit that only the unit's answers may change: values and
// reference values of the parameters and functions, and the menu table.
struct TableSnapshot {
    std::array<int16_t, kParamCount> paramValues{};
    std::array<int16_t, kParamCount> paramReferences{};
    std::array<int16_t, kFunctionCount> functionValues{};
    std::array<int16_t, kFunctionCount> functionReferences{};
    std::array<MenuRecord, kMenuCount> menus{};
};

TableSnapshot TakeTableSnapshot();

// The first difference between two snapshots, "parameter 5 value 120 -> 0"; empty when none.
std::string FirstDifference(const TableSnapshot& before, const TableSnapshot& after);

// The first value of the panel's tables that is not the unit's: knob parameters 0..127 as
// words, functions 128..255 as bytes, values and reference values; empty when all match.
std::string FirstMismatchWithUnit(const SimUnit& unit);

// The resident set of this process in bytes, from /proc/self/statm; 0 when unreadable.
size_t ResidentBytes();

// Most the resident set may grow between the warm-up and the end of a run.
constexpr size_t kResidentGrowthLimit = 8u << 20;

// AddressSanitizer holds freed memory back in its quarantine, so there the resident set grows
// whatever the program does; its leak check at the exit stands in for the growth check.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kResidentSetTellsGrowth = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kResidentSetTellsGrowth = false;
#else
constexpr bool kResidentSetTellsGrowth = true;
#endif
#else
constexpr bool kResidentSetTellsGrowth = true;
#endif
