// The as-run log's file: lines written by its thread in order, the file rotated by size with
// a bounded number kept, and the reading back of the latest lines and of a time range.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "history/AsRunLines.h"
#include "history/AsRunLog.h"

namespace {

using std::chrono::milliseconds;

std::string LineAt(int second, const std::string& text) {
    char time[32];
    std::snprintf(time, sizeof time, "2026-12-08 05:00:%02d.000", second);
    return std::string(time) + " | Main Unit 1 | " + text;
}

}  // namespace

TEST(AsRunLogTest, LinesRotateBySizeAndReadBackOldestFirstWithinARange) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("state/vcp/as-run.log").toStdString();
    {
        // Each line is 54 bytes with its newline: two fit a file of 128.
        AsRunLog log(path, {128, 2, 100});
        for (int i = 0; i < 10; ++i) {
            log.Write(LineAt(i, "Clip | 1 -> " + std::to_string(i)));
        }
        ASSERT_TRUE(log.Flush(milliseconds(5000)));
        EXPECT_LE(std::filesystem::file_size(path), 128U);
        EXPECT_TRUE(std::filesystem::exists(log.RotatedPath(2)));
        EXPECT_FALSE(std::filesystem::exists(log.RotatedPath(3)));
    }
    // Three files of two lines are kept: lines 4..9; the others were rotated away.
    std::ofstream(path, std::ios::app) << "a line of something else\n";
    const std::vector<std::string> lines = ReadLogLines(path, 2, 100);
    ASSERT_EQ(lines.size(), 6U);
    EXPECT_EQ(lines.front(), LineAt(4, "Clip | 1 -> 4"));
    EXPECT_EQ(lines.back(), LineAt(9, "Clip | 1 -> 9"));
    EXPECT_EQ(ReadLogLines(path, 2, 4).front(), LineAt(6, "Clip | 1 -> 6"));

    const std::vector<std::string> range =
        LinesBetween(lines, "2026-12-08 05:00:05", "2026-12-08 05:00:07.999");
    ASSERT_EQ(range.size(), 3U);
    EXPECT_EQ(range.front(), LineAt(5, "Clip | 1 -> 5"));
    EXPECT_EQ(range.back(), LineAt(7, "Clip | 1 -> 7"));
}

TEST(AsRunLogTest, AFullQueueDropsTheOldestAndTheNextLineSaysHowMany) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("as-run.log").toStdString();
    constexpr int kLines = 2000;
    {
        AsRunLog log(path, {1 << 20, 1, 4});
        for (int i = 0; i < kLines; ++i) {
            log.Write(LineAt(i % 60, "line " + std::to_string(i)));
        }
        ASSERT_TRUE(log.Flush(milliseconds(5000)));
    }
    // Every line is in the file or counted in a note, and the newest is never dropped.
    std::ifstream file(path);
    std::string line;
    std::string last;
    int written = 0;
    int dropped = 0;
    while (std::getline(file, line)) {
        const size_t note = line.find(" lines were dropped here");
        if (note != std::string::npos) {
            dropped += std::stoi(line.substr(26, note - 26));
        } else {
            ++written;
            last = line;
        }
    }
    EXPECT_EQ(written + dropped, kLines);
    EXPECT_NE(last.find("line " + std::to_string(kLines - 1)), std::string::npos);
}
