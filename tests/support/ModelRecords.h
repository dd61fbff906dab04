#pragma once

#include <cstdint>
#include <string>

#include "model/PanelModel.h"

// A named knob parameter.
ParamRecord MakeParam(const std::string& name, int flags, int16_t rawMin, int16_t rawMax,
                      int16_t dispMin, int16_t dispMax, int16_t value);

// A function with comma-separated option labels, at option `value`.
FunctionRecord MakeFunction(int number, int value, const std::string& labels);
