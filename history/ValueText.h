#pragma once

#include <string>

#include "model/PanelModel.h"

// A value in the units the panel shows it in, for the snapshot comparisons and the as-run
// log: a knob parameter as its display reads it (a time code for the time-code parameters),
// a function as its button's option text, or its raw number when it has no options.
std::string ParameterValueText(const ParamRecord& record, int value);
std::string FunctionValueText(const FunctionRecord& record, int value);
// The same for parameter or function `number` (0..255) of the selected unit's records.
std::string ValueText(int number, int value);

// The name a change or a difference is listed under: the parameter's name or the function's
// label, "parameter N" when the menu image gives none.
std::string ParameterName(int number);
