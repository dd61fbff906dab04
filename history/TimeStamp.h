#pragma once

#include <chrono>
#include <string>

// Wall-clock times as the snapshots and the as-run log write them. Both have a fixed width,
// so their text sorts as their time does.

// "2026-12-08T04:25:35Z": when a snapshot was taken, in UTC.
std::string SnapshotTimeNow();
// "2026-12-08 05:25:35.120": a log line's time, local, to the millisecond.
std::string LogTime(std::chrono::system_clock::time_point when);
constexpr int kLogTimeChars = 23;
