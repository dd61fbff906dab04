#include "history/AsRunLines.h"

#include <algorithm>
#include <cctype>
#include <deque>
#include <fstream>

#include "history/TimeStamp.h"

namespace {

// A log holds short lines; a longer one is not one of ours and is cut.
constexpr size_t kMaxLineChars = 1024;

// "yyyy-mm-dd hh:mm:ss.mmm" at the start of the line.
bool HasLogTime(const std::string& line) {
    static constexpr char kPattern[] = "dddd-dd-dd dd:dd:dd.ddd";
    if (line.size() < static_cast<size_t>(kLogTimeChars)) {
        return false;
    }
    for (int i = 0; i < kLogTimeChars; ++i) {
        const unsigned char c = static_cast<unsigned char>(line[static_cast<size_t>(i)]);
        if (kPattern[i] == 'd' ? !std::isdigit(c) : c != static_cast<unsigned char>(kPattern[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string SourceText(const ActionOrigin& origin, ChangeCause cause) {
    std::string text;
    switch (origin.source) {
        case ActionSource::Mouse:
            text = "mouse";
            break;
        case ActionSource::Keyboard:
            text = "keyboard";
            break;
        case ActionSource::Surface:
            text = "surface";
            break;
        case ActionSource::Network:
            text = "network";
            break;
    }
    if (!origin.client.empty()) {
        text += " " + origin.client;
    }
    if (cause == ChangeCause::Restore) {
        text += ", snapshot restore";
    } else if (cause == ChangeCause::Undo) {
        text += ", undo";
    }
    return text;
}

std::string FormatChange(const UnitChange& change) {
    std::string line = LogTime(change.when) + " | ";
    line += change.unit > 0 ? "Main Unit " + std::to_string(change.unit) : "panel";
    line += " | " + change.control + " | ";
    if (!change.oldText.empty()) {
        line += change.oldText + " -> ";
    }
    line += change.newText + " | " + SourceText(change.origin, change.cause);
    for (char& c : line) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return line;
}

std::vector<std::string> ReadLogLines(const std::string& path, int keptFiles, size_t maxLines) {
    std::deque<std::string> lines;
    for (int k = std::max(keptFiles, 0); k >= 0; --k) {
        std::ifstream file(k == 0 ? path : path + "." + std::to_string(k), std::ios::binary);
        std::string line;
        while (std::getline(file, line)) {
            if (line.size() > kMaxLineChars) {
                line.resize(kMaxLineChars);
            }
            if (!HasLogTime(line)) {
                continue;
            }
            lines.push_back(std::move(line));
            if (lines.size() > maxLines) {
                lines.pop_front();
            }
        }
    }
    return {std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end())};
}

std::vector<std::string> LinesBetween(const std::vector<std::string>& lines,
                                      const std::string& from, const std::string& to) {
    std::vector<std::string> chosen;
    for (const std::string& line : lines) {
        const std::string time = line.substr(0, static_cast<size_t>(kLogTimeChars));
        if (time.compare(0, from.size(), from) >= 0 && time.compare(0, to.size(), to) <= 0) {
            chosen.push_back(line);
        }
    }
    return chosen;
}
