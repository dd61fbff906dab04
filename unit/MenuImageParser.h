#pragma once

#include "model/MenuImageRecords.h"

// Turns the selected unit's menu image (the block of unit slot `unit`, 0..4) into the panel's
// tables, then finishes them for the unit: the model's own rules, the on-air lock-out read
// from the unit, a fresh identify into g_unitStatus, g_extendedMenus and the four keyframe
// functions. Every table is cleared first, so they describe this unit alone. Returns how far
// the image could be read; a unit slot outside 0..4 changes nothing and reads as truncated.
MenuImageWalk ParseMenuImage(int unit);

// The panel's own function records for the keyframe menu, offsets 128..131.
void SetKeyframeFunctions();
