// The configuration file, the bypass port's frames and the About box's template merge.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "app/ConfigStore.h"
#include "dialogs/AboutText.h"
#include "dialogs/BypassFrame.h"
#include "fuzz/parsers/ParserChecks.h"

namespace {

bool SameStore(const ConfigStore& a, const ConfigStore& b) {
    if (a.SectionCount() != b.SectionCount()) {
        return false;
    }
    for (int s = 0; s < a.SectionCount(); ++s) {
        const auto& left = a.Entries(s);
        const auto& right = b.Entries(s);
        if (a.SectionName(s) != b.SectionName(s) || left.size() != right.size()) {
            return false;
        }
        for (size_t k = 0; k < left.size(); ++k) {
            if (left[k].key != right[k].key || left[k].value != right[k].value) {
                return false;
            }
        }
    }
    return true;
}

bool HoldsLineEnd(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

// No name or value holds a line end. When bit 4 of byte 0 is set, the file also arrives in
// three pieces and must give the same store as when it is read whole. The first cut falls at
// (byte 0 % 16) sixteenths of the file, the second 1 to 8 bytes (byte 0 >> 5) after it, so a
// line, a carriage return and line feed, or a lone line end meet every kind of cut. Half the
// runs skip that second parse.
bool CheckConfigFile(std::span<const uint8_t> input) {
    if (input.empty()) {
        return true;
    }
    const std::string_view file(reinterpret_cast<const char*>(input.data() + 1), input.size() - 1);
    ConfigStore whole;
    ConfigParser wholeParser(whole);
    wholeParser.Feed(file);
    wholeParser.Finish();
    if ((input[0] & 0x10) != 0) {
        const size_t firstCut = file.size() * (input[0] % 16) / 16;
        const size_t secondCut = std::min(file.size(), firstCut + 1 + (input[0] >> 5));
        ConfigStore pieces;
        ConfigParser piecesParser(pieces);
        piecesParser.Feed(file.substr(0, firstCut));
        piecesParser.Feed(file.substr(firstCut, secondCut - firstCut));
        piecesParser.Feed(file.substr(secondCut));
        piecesParser.Finish();
        if (!SameStore(whole, pieces)) {
            return false;
        }
    }
    for (int s = 0; s < whole.SectionCount(); ++s) {
        if (HoldsLineEnd(whole.SectionName(s))) {
            return false;
        }
        for (const ConfigStore::Entry& entry : whole.Entries(s)) {
            if (HoldsLineEnd(entry.key) || HoldsLineEnd(entry.value)) {
                return false;
            }
        }
    }
    return true;
}

// Every frame handed out is whole and well formed, the buffer stays within its capacity, and
// every byte is in a frame, still pending, or counted as dropped. Byte 0 picks a capacity, so
// frames that cannot fit are met too.
bool CheckBypassFrames(std::span<const uint8_t> input) {
    if (input.empty()) {
        return true;
    }
    BypassFrameAssembler assembler(kBypassFrameOverhead + 1 + input[0] % kBypassFrameBufferSize);
    uint64_t framed = 0;
    for (size_t i = 1; i < input.size(); ++i) {
        if (assembler.Push(input[i])) {
            const auto frame = assembler.Frame();
            if (frame.size() < kBypassFrameOverhead + 1 || frame[0] != kBypassFrameStart ||
                frame[1] == 0 || frame.size() != frame[1] + kBypassFrameOverhead ||
                frame.size() > assembler.Capacity()) {
                return false;
            }
            framed += frame.size();
        }
        if (assembler.Pending() > assembler.Capacity()) {
            return false;
        }
    }
    return framed + assembler.Pending() + assembler.DroppedBytes() == input.size() - 1;
}

// Any template and any version answer: the answer lies in a buffer of exactly its size, so a
// read past it is caught, and the text never grows beyond what the template and the lines it
// may take can make. Byte 0 is the model, byte 1 the extended-menus flag, byte 2 the
// template's length.
bool CheckAboutText(std::span<const uint8_t> input) {
    if (input.size() < 3) {
        return true;
    }
    const size_t templateSize = std::min<size_t>(input[2], input.size() - 3);
    const std::string templateText(reinterpret_cast<const char*>(input.data() + 3), templateSize);
    const std::vector<uint8_t> info(input.begin() + 3 + static_cast<std::ptrdiff_t>(templateSize),
                                    input.end());
    const ProgramVersion program{"1.0", "2026-12-07"};
    const UnitVersion unit{info, input[0], (input[1] & 1) != 0, templateText};
    const std::string text = MergeAboutText(unit, program);
    // Every marker takes at most one line of the answer or of the program's own two.
    const size_t lineLimit = info.size() + program.version.size() + program.date.size() + 64;
    return text.size() <= templateText.size() * (lineLimit + 1) + lineLimit;
}
