#pragma once

#include <QByteArray>
#include <optional>
#include <string>

#include "surface/Mapping.h"

// A mapping as a JSON file:
//   {"format": "vcp-surface-mapping", "version": 1, "name": "...",
//    "knobs": [{"knob": 1, "cc": 16, "channel": 1, "encoding": "sign-bit",
//               "ring": {"cc": 48, "style": "vpot", "mode": 2}}, ...],
//    "buttons": [{"menu": 1, "note": 24}, {"function": 2, "cc": 65, "lamp": false},
//                {"toggle": "UNIT 1", "note": 40}, ...]}
// Knobs, buttons and channels count from 1 as the panel and the surface print them; the
// channel is 1 unless given, a ring absent leaves the knob's ring dark, a button's lamp
// follows the panel unless "lamp" is false. The one file in this folder that uses Qt: its JSON
// reader gives the offset of a syntax error.

struct MappingRead {
    std::optional<Mapping> mapping;
    std::string error;  // "<file>, line <n>: <what>." when the file is refused
    std::string file;   // the file's name, without its folder, when one was refused
    int line = 0;       // the line at fault; 0 when the file did not open
};

// Reads the mapping in `text`; `fileName` names the file in the error. A file that is no
// JSON, no mapping (another format, another version) or binds a control out of range or
// twice gives no mapping and an error with the line of the offending entry.
MappingRead ParseMapping(const QByteArray& text, const std::string& fileName);
// Reads the file at `path` (at most kMostMappingBytes); errors name the file without its
// folder.
MappingRead ReadMappingFile(const std::string& path);
// The file that ParseMapping reads back as `mapping`.
QByteArray WriteMapping(const Mapping& mapping);

constexpr qint64 kMostMappingBytes = 1 << 20;
