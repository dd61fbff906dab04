#pragma once

#include <string>
#include <vector>

#include "history/ChangeRecorder.h"

// The as-run log's lines: one per change, "time | Main Unit n | control | old -> new |
// source", and their reading back for the viewer and the export. The files are untrusted
// when read: a line without a time where it belongs is skipped.

std::string SourceText(const ActionOrigin& origin, ChangeCause cause);
std::string FormatChange(const UnitChange& change);

// The last `maxLines` lines of the log at `path` and its rotated files ("<path>.1" up to
// "<path>.<keptFiles>"), oldest first.
std::vector<std::string> ReadLogLines(const std::string& path, int keptFiles, size_t maxLines);

// The lines whose time lies from `from` to `to`, both in the log's time format or a prefix of
// it ("2026-12-08 05:00" takes the whole minute).
std::vector<std::string> LinesBetween(const std::vector<std::string>& lines,
                                      const std::string& from, const std::string& to);
