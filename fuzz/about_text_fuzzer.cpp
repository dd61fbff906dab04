// The About box's merge over any template and any version answer: the answer is copied into a
// buffer of exactly its size, so a read past it is caught, and the text never grows beyond
// what the template and the lines it may take can make.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "dialogs/AboutText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) {
        return 0;
    }
    const size_t templateSize = std::min<size_t>(data[2], size - 3);
    const std::string templateText(reinterpret_cast<const char*>(data + 3), templateSize);
    const std::vector<uint8_t> info(data + 3 + templateSize, data + size);
    const ProgramVersion program{"1.0", "2026-12-07"};
    const UnitVersion unit{info, data[0], (data[1] & 1) != 0, templateText};
    const std::string text = MergeAboutText(unit, program);
    // Every marker takes at most one line of the answer or of the program's own two.
    const size_t lineLimit = info.size() + program.version.size() + program.date.size() + 64;
    if (text.size() > templateText.size() * (lineLimit + 1) + lineLimit) {
        std::abort();
    }
    return 0;
}
