#pragma once

// The menu buttons with a role of their own, by number.
constexpr int kReturnButton = 0;
constexpr int kCustomDialogButton = 1;  // in the custom menus: configure, or the bypass
constexpr int kUnusedCustomButton = 2;
constexpr int kFirstCustomButton = 3;  // 3..6 lead to the custom menus 1..4
constexpr int kConfigureButton = 5;    // the keyframe menu's effect dialog
constexpr int kEffectsButton = 6;      // the compact family's keyframe menu
constexpr int kFilesButton = 7;
constexpr int kCustomButton = 8;
constexpr int kUserFilesButton = 9;
