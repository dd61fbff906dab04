// The menu image's record walk over any block.
#include "fuzz/parsers/ParserChecks.h"
#include "model/MenuImageRecords.h"
#include "model/PanelModel.h"

namespace {

constexpr int32_t kUntouched = -1;

// Marks every record of `table` untouched. After the first time only the records the last
// walk stored are reset: clearing all four tables for every input would cost most of a run.
template <typename Record, size_t N>
void MarkUntouched(Record (&table)[N], bool everyRecord) {
    for (Record& record : table) {
        if (everyRecord || record.number != kUntouched) {
            record = Record{};
            record.number = kUntouched;
        }
    }
}

// Every record starts marked untouched; the walk may only store a record at its own number.
void MarkTables() {
    static bool marked = false;
    MarkUntouched(g_paramTable, !marked);
    MarkUntouched(g_functionTable, !marked);
    MarkUntouched(g_menuTable, !marked);
    MarkUntouched(g_messageTable, !marked);
    marked = true;
}

template <typename Record, size_t N>
bool EachAtItsNumber(const Record (&table)[N], int firstNumber, size_t readable) {
    for (size_t i = 0; i < N; ++i) {
        const int32_t number = table[i].number;
        const bool own = i < readable && number == static_cast<int32_t>(i) + firstNumber;
        if (number != kUntouched && !own) {
            return false;
        }
    }
    return true;
}

}  // namespace

// Byte 0 picks the menu entry count (12 or 20); the rest is the image block.
bool CheckMenuRecords(std::span<const uint8_t> input) {
    if (input.empty()) {
        return true;
    }
    const int entryCount = (input[0] & 1) != 0 ? 12 : 20;
    MarkTables();
    const MenuImageWalk walk = WalkMenuImage(input.subspan(1), entryCount);
    // The empty knob position and the keyframe functions are never image records.
    return (walk == MenuImageWalk::Complete || walk == MenuImageWalk::Truncated) &&
           EachAtItsNumber(g_paramTable, 0, kEmptyKnobParam) &&
           EachAtItsNumber(g_functionTable, kFirstFunctionNumber, 128) &&
           EachAtItsNumber(g_menuTable, 0, kMenuCount) &&
           EachAtItsNumber(g_messageTable, 0, kMessageCount);
}
