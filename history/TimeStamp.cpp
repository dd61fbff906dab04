#include "history/TimeStamp.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

struct WallTime {
    std::tm fields{};
    int milliseconds = 0;
};

WallTime WallTimeAt(std::chrono::system_clock::time_point now, bool local) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    WallTime wall;
    wall.milliseconds = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000);
    if (local) {
        localtime_r(&seconds, &wall.fields);
    } else {
        gmtime_r(&seconds, &wall.fields);
    }
    return wall;
}

}  // namespace

std::string SnapshotTimeNow() {
    const WallTime wall = WallTimeAt(std::chrono::system_clock::now(), false);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &wall.fields);
    return text;
}

std::string LogTime(std::chrono::system_clock::time_point when) {
    const WallTime wall = WallTimeAt(when, true);
    char date[24];
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", &wall.fields);
    char text[32];
    std::snprintf(text, sizeof text, "%s.%03d", date, wall.milliseconds);
    return text;
}
