#pragma once

#include <string>
#include <string_view>

#include "model/PanelModel.h"

// The option names of a function record: its label is a comma-separated list, one name for
// each value.

// Option `index` (from 0) of a comma-separated label list; empty when there are fewer.
std::string OptionLabel(const std::string& labels, int index);

// The current option of the function a menu entry names (entry = function number,
// 128..255); empty for an entry that is no function.
std::string FunctionOptionName(int functionNumber);

// Whether two labels are the same, blanks at their ends and case aside; an empty label
// matches nothing.
bool SameLabel(std::string_view a, std::string_view b);
