#pragma once

#include <string>

class SimLine;

// The name of the built-in line: the link reaches it as "inproc:sim".
constexpr const char* kBuiltinLineName = "sim";
// The line of units a fresh installation shows.
constexpr const char* kDefaultUnitList = "1:11,2:4";

// Registers the in-process line "sim" served by a line of the units in `unitList` ("1:11,2:4"),
// replacing an earlier one. Returns the line's units, or nullptr (nothing registered) when
// the list is not valid; `error` then says why.
SimLine* RegisterBuiltinSimulator(const std::string& unitList, std::string* error = nullptr);
void UnregisterBuiltinSimulator();
