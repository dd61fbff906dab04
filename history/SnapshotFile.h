#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "history/Snapshot.h"

// Snapshots as JSON files. A snapshot file is untrusted: every field is checked before any
// of it is used, and a bad file gives a message naming the file and what is wrong.

struct SnapshotRead {
    std::optional<Snapshot> snapshot;
    std::string error;  // "<file>: <what is wrong>" when snapshot is empty
};

// The file's text: an object with version, unit, model, menuImage (16 hex digits), settings,
// taken and values (objects of number, name, value, in number order).
std::string SnapshotJson(const Snapshot& snapshot);

// Reads `text`, which came from `fileName` (for the message alone).
SnapshotRead ParseSnapshot(std::string_view text, const std::string& fileName);
// Reads the file at `path`; a missing, unreadable or oversized file says so.
SnapshotRead ReadSnapshotFile(const std::string& path);
// Writes the snapshot to `path` (its folder made if needed); empty, or why it failed.
std::string WriteSnapshotFile(const std::string& path, const Snapshot& snapshot);

// The user's snapshot folder (the data folder's snapshots/) and a file name there for a
// snapshot of `unit` taken at `takenAt`.
std::string SnapshotFolder();
std::string DefaultSnapshotPath(const Snapshot& snapshot);
