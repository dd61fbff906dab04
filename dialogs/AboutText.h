#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The About box's text: the program's own version lines, or the unit's version lines merged
// into the template the unit supplies as message 0.

struct ProgramVersion {
    std::string version;
    std::string date;
};

// The version and release date this program was built with.
ProgramVersion BuiltProgramVersion();

// "Remote Version: <version>\r\nRelease Date: <date>".
std::string ProgramAboutText(const ProgramVersion& program);

// What the unit sent and what it supplied as the template.
struct UnitVersion {
    std::span<const uint8_t> info;  // the version answer; bytes past its end count as zero
    uint8_t model = 0;
    bool extendedMenus = false;
    std::string_view templateText;
};

// Fills the template's "^" markers, from its first "U" on, with the unit's lines and the
// program's version and date. `info` starts with the count of lines it holds (a signed byte)
// and holds lines ended by line feeds, in zero-terminated strings. A template without "U" is
// used whole; lines without a marker left are not shown; nothing is read past `info`.
std::string MergeAboutText(const UnitVersion& unit, const ProgramVersion& program);
