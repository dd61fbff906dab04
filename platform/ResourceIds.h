#pragma once

// Numbers of the program's pictures and dialog templates. Pictures are looked up with
// LoadResourceBitmap (resources/ResourceTable.h); templates name the .ui forms.

namespace ResourceId {

// Application icon, also drawn when the panel is minimised.
inline constexpr int kApplicationIcon = 128;

// Panel skin, 1280 x 760, painted as the panel's background.
inline constexpr int kPanelSkin = 152;

// Information line background, 458 x 82.
inline constexpr int kInfoLine = 136;

// On-line lamps of units 1..4, 15 x 15; the same four mark the selected unit.
inline constexpr int kOnLineLampUnit1 = 144;
inline constexpr int kOnLineLampUnit2 = 148;
inline constexpr int kOnLineLampUnit3 = 149;
inline constexpr int kOnLineLampUnit4 = 150;
inline constexpr int kOnLineLamps[4] = {kOnLineLampUnit1, kOnLineLampUnit2, kOnLineLampUnit3,
                                        kOnLineLampUnit4};

// Model badges, 200 x 28, one per model code, and the badge shown before any unit answers.
inline constexpr int kBadgeModel4 = 146;
inline constexpr int kBadgeModel9 = 161;
inline constexpr int kBadgeModel7 = 162;
inline constexpr int kBadgeModel5 = 163;
inline constexpr int kBadgeNoModel = 175;
inline constexpr int kBadgeModel11 = 176;
inline constexpr int kBadgeModel80 = 177;
inline constexpr int kBadgeModel81 = 178;
inline constexpr int kBadgeModel177 = 206;

// Menu button face, 74 x 33 (both faces of a menu button use it).
inline constexpr int kMenuButton = 157;

// About box background.
inline constexpr int kAboutBackground = 158;

// Function button faces, 76 x 35: lit and unlit.
inline constexpr int kFunctionButtonLit = 159;
inline constexpr int kFunctionButtonUnlit = 160;

// Toggle faces, 32 x 32.
inline constexpr int kToggleUnitOn = 184;
inline constexpr int kToggleKeyOff = 185;
inline constexpr int kToggleUnitOnAir = 186;
inline constexpr int kToggleLatchOn = 187;
inline constexpr int kToggleShortcutOn = 188;
inline constexpr int kToggleSystemOn = 203;
inline constexpr int kToggleSystemOff = 204;

// Knob pictures: the thumb's top-left pixel holds the key colour that the knob makes
// transparent.
inline constexpr int kKnobThumb = 190;
inline constexpr int kKnobTrack = 192;

// Note icon of the routing dialog, 32 x 32.
inline constexpr int kRoutingNoteIcon = 205;

// Indicator icons, 32 x 32: the on-air lamp of a unit and the lamp above a memory key.
inline constexpr int kUnitIndicatorIcon = 210;
inline constexpr int kFunctionIndicatorIcon = 211;

}  // namespace ResourceId

namespace TemplateId {

inline constexpr int kMainPanel = 102;
inline constexpr int kFilesDialog = 151;
inline constexpr int kAboutDialog = 153;
inline constexpr int kOnAirDialog = 154;
inline constexpr int kAttributeDialog = 155;
inline constexpr int kEffectDialog = 156;
inline constexpr int kInputDialog = 157;
inline constexpr int kCustomMenuDialog = 178;
inline constexpr int kMonitorDialog = 179;
inline constexpr int kBypassDialog = 180;
inline constexpr int kOutputDialog = 183;
inline constexpr int kPortSetupDialog = 189;

}  // namespace TemplateId
