// Snapshot files: what is written reads back the same, and a bad file of any kind is refused
// with a message naming the file and what is wrong, giving no snapshot.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <string>
#include <utility>
#include <vector>

#include "history/SnapshotFile.h"

namespace {

Snapshot Sample() {
    Snapshot snapshot;
    snapshot.unit = 2;
    snapshot.model = 11;
    snapshot.menuImageHash = 0xcbf29ce484222325ULL;
    snapshot.settingsText = "PAL  KEY 1";
    snapshot.takenAt = "2026-12-08T04:25:35Z";
    snapshot.values = {{0, "Clip", -12}, {7, "Gain", 1023}, {129, "View FG", 1}, {255, "X", 255}};
    return snapshot;
}

// The sample's text with `from` replaced by `to` once.
std::string Edited(const std::string& from, const std::string& to) {
    std::string text = SnapshotJson(Sample());
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

}  // namespace

TEST(SnapshotFileTest, ASavedSnapshotReadsBackAsItWasAndFindsItsValues) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("nested/unit2.json").toStdString();
    ASSERT_EQ(WriteSnapshotFile(path, Sample()), "");
    const SnapshotRead read = ReadSnapshotFile(path);
    ASSERT_TRUE(read.snapshot) << read.error;
    EXPECT_EQ(*read.snapshot, Sample());
    ASSERT_NE(read.snapshot->Find(129), nullptr);
    EXPECT_EQ(read.snapshot->Find(129)->name, "View FG");
    EXPECT_EQ(read.snapshot->Find(8), nullptr);

    const SnapshotRead missing = ReadSnapshotFile(dir.filePath("none.json").toStdString());
    EXPECT_FALSE(missing.snapshot);
    EXPECT_EQ(missing.error.rfind(dir.filePath("none.json").toStdString() + ": ", 0), 0U);
}

TEST(SnapshotFileTest, EveryBadFieldIsNamedAndNothingIsRead) {
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"{ not json", "not a snapshot"},
        {"[1, 2]", "not a snapshot"},
        {Edited("\"version\": 1", "\"version\": 2"), "snapshot version 2 is not one"},
        {Edited("\"version\": 1", "\"version\": \"1\""), "version is missing or not a number"},
        {Edited("\"unit\": 2", "\"unit\": 5"), "unit must be a whole number from 1 to 4"},
        {Edited("\"unit\": 2", "\"unit\": 1.5"), "unit must be a whole number"},
        {Edited("\"model\": 11", "\"model\": -1"), "model must be"},
        {Edited("cbf29ce484222325", "cbf29ce48422232"), "menuImage is not 16 hexadecimal"},
        {Edited("cbf29ce484222325", "cbf29ce48422232g"), "menuImage is not 16 hexadecimal"},
        {Edited("\"settings\": \"PAL  KEY 1\"", "\"settings\": 3"), "settings is missing"},
        {Edited("\"settings\": \"PAL  KEY 1\"", "\"settings\": \"" + std::string(1025, 'x') + "\""),
         "settings is longer than 1024"},
        {Edited("\"number\": 7", "\"number\": 256"), "value 2 number must be"},
        {Edited("\"number\": 7", "\"number\": 0"), "value 2 is out of number order"},
        {Edited("\"value\": 1023", "\"value\": 40000"), "value 2 value must be"},
        {Edited("\"value\": 255", "\"value\": 256"), "value 4 value must be a whole number from 0"},
        {Edited("\"name\": \"Gain\"", "\"name\": null"), "value 2 name is missing"},
        {Edited("\"values\": [", "\"values\": 1, \"x\": ["), "values is missing or not a list"},
        {std::string(2 << 20, ' '), "too large"},
    };
    for (const auto& [text, what] : bad) {
        const SnapshotRead read = ParseSnapshot(text, "show.json");
        EXPECT_FALSE(read.snapshot) << what;
        EXPECT_EQ(read.error.rfind("show.json: ", 0), 0U) << read.error;
        EXPECT_NE(read.error.find(what), std::string::npos) << read.error;
    }
}
