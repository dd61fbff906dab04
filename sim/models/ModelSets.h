#pragma once

#include <vector>

#include "sim/models/ModelDefinition.h"

// The building blocks the model definitions share. Each model lists the sets it carries.

// Knob parameters.
extern const std::vector<ParamDef> kKeyParameters;     // key, foreground, background, window
extern const std::vector<ParamDef> kScreenParameters;  // screen colour 59..61 and master 101
extern const std::vector<ParamDef> kTimingParameters;  // 93..98, configuration menu
extern const std::vector<ParamDef> kRouterParameters;  // 114 (router dwell) and 115

// Functions.
extern const std::vector<FunctionDef> kCoreFunctions;    // views, key modes, memories, tallies
extern const std::vector<FunctionDef> kRouterFunctions;  // 211, 214

// Menus.
extern const std::vector<MenuDef> kCoreMenus;
extern const std::vector<MenuDef> kCompactMenus;   // configuration and GPI monitor
extern const std::vector<MenuDef> kFullMenus;      // configuration and router
extern const std::vector<MenuDef> kExtendedMenus;  // 40 and 41
extern const std::vector<MenuDef> kDialogMenus;    // 17, 32, 37, 45, 46

// Messages and the unit's own image sections.
extern const std::vector<MessageDef> kCommonMessages;
extern const std::vector<MessageDef> kFullMessages;
extern const std::vector<SkippedRecordDef> kUnitSections;
