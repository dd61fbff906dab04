#pragma once

// The panel's window timers.
enum PanelTimer : int {
    kKeyScanTimer = 1,       // 20 ms while the link is lost: the unit-key scan
    kPollTimer = 2,          // 100 ms: presence poll of the other units, status poll of ours
    kPromptTimer = 3,        // 20 ms: the update prompt of the compact models' menu 15
    kMessageClearTimer = 4,  // 3 s once: clears a unit message from the information line
};
constexpr int kPollPeriod_ms = 100;
constexpr int kKeyScanPeriod_ms = 20;
constexpr int kPromptPeriod_ms = 20;
constexpr int kMessageShown_ms = 3000;
