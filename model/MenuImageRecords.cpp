#include "model/MenuImageRecords.h"

#include <algorithm>

#include "model/MenuImageReader.h"
#include "model/PanelModel.h"
#include "protocol/MenuImage.h"

namespace {

constexpr int kLastMenu = 64;
constexpr int kLastMessage = kMessageCount - 1;
constexpr int kOptionSlots = 3;
constexpr size_t kMenuSpareBytes = 8;
constexpr size_t kMessageSpareBytesAfterLength = 6;
constexpr size_t kMessageSpareBytesAfterCaption = 12;
constexpr char kEmptyLabelCharacter = ' ';

int16_t Signed(uint16_t word) {
    return static_cast<int16_t>(word);
}

size_t WordsToBytes(uint32_t words) {
    return static_cast<size_t>(words) * 2;
}

// An option's length: its two bytes ORed, so at most 255 words.
uint16_t OredLength(MenuImageReader& reader) {
    const uint8_t high = reader.Byte();
    return static_cast<uint16_t>(high | reader.Byte());
}

// A name with "#" after its first character keeps only the part before it and sets the
// suffix flag; any other name is kept whole and clears the flag.
void ApplyHashRule(std::string& name, int32_t& flags) {
    const size_t hash = name.find('#');
    if (hash != std::string::npos && hash > 0) {
        name.resize(hash);
        flags |= kFlagHashSuffix;
    } else {
        flags &= ~kFlagHashSuffix;
    }
}

// Where a NUL-ended text stands in its record body.
enum class TextPlace {
    BeforeMoreFields,  // more fields follow: the padding runs to the next non-zero byte
    EndsRecord,        // the body ends with it: the next record's length word may start with 0
};

// A NUL-ended text and the NUL padding behind it. The padding before more fields is skipped
// whatever the length word says, since a length may cover less than the body; padding that
// ends the body stops at the record's declared end, so it never eats the next length word.
std::string PaddedText(MenuImageReader& reader, size_t recordEnd, TextPlace place) {
    std::string text = reader.NulText();
    reader.SkipPadding(place == TextPlace::EndsRecord ? recordEnd : reader.Size());
    return text;
}

TextPlace PlaceBefore(bool moreFields) {
    return moreFields ? TextPlace::BeforeMoreFields : TextPlace::EndsRecord;
}

std::string TrimmedText(MenuImageReader& reader, uint32_t words) {
    return Trimmed(reader.FixedText(WordsToBytes(words)));
}

// The words behind the number that parameter and function records share.
template <typename Record>
void ReadKindFlagsExtra(MenuImageReader& reader, Record& record) {
    record.kind = reader.Word();
    record.flags = reader.Word();
    record.extra = static_cast<int32_t>(reader.Long());
}

void ParseParameter(MenuImageReader& reader, size_t recordEnd) {
    ParamRecord record;
    record.number = reader.Word();
    if (record.number > kLastKnobParameter) {
        return;
    }
    ReadKindFlagsExtra(reader, record);
    record.rawMin = Signed(reader.Word());
    record.rawMax = Signed(reader.Word());
    record.dispMin = Signed(reader.Word());
    record.dispMax = Signed(reader.Word());
    const bool hasName = reader.Word() != 0;
    reader.Word();
    const bool hasSecondText = reader.Word() != 0;
    const int optionCount = reader.Word();
    if (hasName) {
        record.name =
            Trimmed(PaddedText(reader, recordEnd, PlaceBefore(hasSecondText || optionCount > 0)));
    }
    if (hasSecondText) {
        PaddedText(reader, recordEnd, PlaceBefore(optionCount > 0));
    }
    for (int k = 1; k <= optionCount && !reader.Overrun(); ++k) {
        reader.Word();
        const uint16_t firstWords = OredLength(reader);
        const uint16_t secondWords = OredLength(reader);
        std::string first = TrimmedText(reader, firstWords);
        std::string second = TrimmedText(reader, secondWords);
        // Option k of N lands in slot 3 - N + k: a single option takes the last slot.
        const int slot = kOptionSlots - optionCount + k - 1;
        if (slot >= 0 && slot < kOptionSlots) {
            record.options[slot] = {std::move(first), std::move(second)};
        }
    }
    ApplyHashRule(record.name, record.flags);
    if (!reader.Overrun()) {
        g_paramTable[record.number] = std::move(record);
    }
}

void ParseFunction(MenuImageReader& reader, size_t recordEnd) {
    FunctionRecord record;
    record.number = reader.Word();
    if (record.number < kFirstFunctionNumber || record.number > kLastFunctionNumber) {
        return;
    }
    ReadKindFlagsExtra(reader, record);
    record.minValue = Signed(reader.Word());
    record.maxValue = Signed(reader.Word());
    const bool hasName = reader.Word() != 0;
    record.optionCount = reader.Word();
    if (hasName) {
        PaddedText(reader, recordEnd, PlaceBefore(record.optionCount > 0));
    }
    for (int i = 0; i < record.optionCount && !reader.Overrun(); ++i) {
        reader.Word();
        const uint16_t textWords = reader.Word();
        const bool hasExtraText = reader.Word() != 0;
        std::string text = textWords > 0 ? TrimmedText(reader, textWords) : std::string();
        if (hasExtraText) {
            PaddedText(reader, recordEnd, PlaceBefore(i + 1 < record.optionCount));
        }
        if (i == 0) {
            ApplyHashRule(text, record.flags);
            record.label = std::move(text);
        } else {
            record.label += ",";
            record.label += text;
        }
    }
    if (record.optionCount == 0) {
        record.label.assign(1, kEmptyLabelCharacter);
        record.flags &= ~kFlagHashSuffix;
    }
    if (!reader.Overrun()) {
        g_functionTable[record.number - kFirstFunctionNumber] = std::move(record);
    }
}

void ParseMenu(MenuImageReader& reader, int entryCount) {
    MenuRecord record;
    record.number = reader.Word();
    if (record.number > kLastMenu) {
        return;
    }
    record.kind = reader.Word();
    record.flags = reader.Word();
    for (auto& knob : record.knobParam) {
        knob = Signed(reader.Word());
    }
    reader.Skip(kMenuSpareBytes);
    for (int i = 0; i < entryCount; ++i) {
        record.entry[i] = Signed(reader.Word());
    }
    const uint16_t titleWords = reader.Word();
    const uint16_t shortNameWords = reader.Word();
    const uint16_t trailingWords = reader.Word();
    record.title = TrimmedText(reader, titleWords);
    record.shortName = TrimmedText(reader, shortNameWords);
    reader.Skip(WordsToBytes(trailingWords));
    if (!reader.Overrun()) {
        g_menuTable[record.number] = std::move(record);
    }
}

void ParseMessage(MenuImageReader& reader) {
    MessageRecord record;
    record.number = reader.Word();
    if (record.number > kLastMessage) {
        return;
    }
    reader.Word();
    record.flags = reader.Word();
    reader.Word();
    const uint16_t captionWords = reader.Word();
    reader.Skip(kMessageSpareBytesAfterLength);
    if (captionWords > 0) {
        record.caption = TrimmedText(reader, captionWords);
    }
    reader.Skip(kMessageSpareBytesAfterCaption);
    const uint16_t textWords = reader.Word();
    if (textWords > 0) {
        record.text = TrimmedText(reader, textWords);
    }
    if (!reader.Overrun()) {
        g_messageTable[record.number] = std::move(record);
    }
}

// One record of a parsed section: the length word, the body, then on to whichever is further,
// the declared end or the end of what the body read.
template <typename Body>
void ParseRecord(MenuImageReader& reader, Body body) {
    const size_t start = reader.Position();
    const size_t declaredEnd = start + WordsToBytes(reader.Word());
    body(declaredEnd);
    if (!reader.Overrun()) {
        reader.Seek(std::max(declaredEnd, reader.Position()));
    }
}

// A record found by the low byte of its length word alone.
size_t LowByteEnd(MenuImageReader& reader) {
    const size_t start = reader.Position();
    return start + WordsToBytes(reader.Word() & 0xFF);
}

void StepOverRecord(MenuImageReader& reader) {
    ParseRecord(reader, [](size_t) {});
}

}  // namespace

MenuImageWalk WalkMenuImage(std::span<const uint8_t> block, int menuEntryCount) {
    const int entryCount = std::clamp(menuEntryCount, 0, kMenuEntryWords);
    MenuImageReader reader(block);
    reader.Seek(kMenuImageHeaderBytes);

    const int parameterCount = reader.Word();
    for (int i = 0; i < parameterCount && !reader.Overrun(); ++i) {
        ParseRecord(reader, [&](size_t end) { ParseParameter(reader, end); });
    }
    const int functionCount = reader.Word();
    for (int i = 0; i < functionCount && !reader.Overrun(); ++i) {
        if (i == functionCount - 1) {
            StepOverRecord(reader);  // the last function record is never parsed
        } else {
            ParseRecord(reader, [&](size_t end) { ParseFunction(reader, end); });
        }
    }
    const int menuCount = reader.Word();
    for (int i = 0; i < menuCount && !reader.Overrun(); ++i) {
        ParseRecord(reader, [&](size_t) { ParseMenu(reader, entryCount); });
    }
    for (int section = 0; section < kMenuImageUnitSections && !reader.Overrun(); ++section) {
        const int recordCount = reader.Word() & 0xFF;
        for (int i = 0; i < recordCount && !reader.Overrun(); ++i) {
            reader.Seek(LowByteEnd(reader));
        }
    }
    const int messageCount = reader.Word() & 0xFF;
    for (int i = 0; i < messageCount && !reader.Overrun(); ++i) {
        const size_t next = LowByteEnd(reader);
        ParseMessage(reader);
        if (!reader.Overrun()) {
            reader.Seek(next);
        }
    }
    return reader.Overrun() ? MenuImageWalk::Truncated : MenuImageWalk::Complete;
}
