#include "sim/models/MenuImageBuilder.h"

#include <algorithm>

namespace {

// Appends big-endian words, longs and texts to a record body.
class BodyWriter {
  public:
    void Word(int value) {
        const auto word = static_cast<uint16_t>(value);
        m_bytes.push_back(static_cast<uint8_t>(word >> 8));
        m_bytes.push_back(static_cast<uint8_t>(word & 0xFF));
    }
    void Long(uint32_t value) {
        Word(static_cast<int>(value >> 16));
        Word(static_cast<int>(value & 0xFFFF));
    }
    void Zeros(size_t count) { m_bytes.insert(m_bytes.end(), count, 0); }
    // The text, its ending NUL, and NULs up to a whole word.
    void NulEndedText(const std::string& text) {
        Bytes(text);
        m_bytes.push_back(0);
        PadToWord(0);
    }
    // The text padded with `pad` to exactly `words` words.
    void FixedText(const std::string& text, size_t words, uint8_t pad) {
        const std::string cut = text.substr(0, words * 2);
        Bytes(cut);
        m_bytes.insert(m_bytes.end(), words * 2 - cut.size(), pad);
    }
    void Bytes(const std::string& text) { m_bytes.insert(m_bytes.end(), text.begin(), text.end()); }
    void Bytes(const std::vector<uint8_t>& bytes) {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    }
    void PadToWord(uint8_t pad) {
        if (m_bytes.size() % 2 != 0) {
            m_bytes.push_back(pad);
        }
    }
    // The record: length word (in words, itself included), then the body.
    std::vector<uint8_t> Record() {
        PadToWord(0);
        const size_t words = m_bytes.size() / 2 + 1;
        std::vector<uint8_t> record(2 + m_bytes.size());
        record[0] = static_cast<uint8_t>(words >> 8);
        record[1] = static_cast<uint8_t>(words & 0xFF);
        std::copy(m_bytes.begin(), m_bytes.end(), record.begin() + 2);
        return record;
    }

  private:
    std::vector<uint8_t> m_bytes;
};

size_t WordsFor(const std::string& text, size_t maxBytes) {
    return (std::min(text.size(), maxBytes) + 1) / 2;
}

void AppendAll(std::vector<uint8_t>& image, const std::vector<std::vector<uint8_t>>& records) {
    for (const auto& record : records) {
        image.insert(image.end(), record.begin(), record.end());
    }
}

void AppendSection(std::vector<uint8_t>& image, const std::vector<std::vector<uint8_t>>& records) {
    image.push_back(static_cast<uint8_t>(records.size() >> 8));
    image.push_back(static_cast<uint8_t>(records.size() & 0xFF));
    AppendAll(image, records);
}

// The fields parameter and function records open with: number, kind, flags, extra, range.
void RecordHead(BodyWriter& body, uint8_t number, uint16_t kind, uint16_t flags, int low,
                int high) {
    body.Word(number);
    body.Word(kind);
    body.Word(flags);
    body.Long(RecordExtra(number));
    body.Word(low);
    body.Word(high);
}

}  // namespace

uint32_t RecordExtra(uint8_t number) {
    return 0x4B560000u | number;
}

std::vector<uint8_t> EncodeParameterRecord(const ParamDef& param) {
    BodyWriter body;
    RecordHead(body, param.number, kParamRecordKind, param.flags, param.rawMin, param.rawMax);
    body.Word(param.dispMin);
    body.Word(param.dispMax);
    body.Word(param.name.empty() ? 0 : 1);
    body.Word(0);
    body.Word(param.note.empty() ? 0 : 1);
    body.Word(static_cast<int>(param.options.size()));
    if (!param.name.empty()) {
        body.NulEndedText(param.name);
    }
    if (!param.note.empty()) {
        body.NulEndedText(param.note);
    }
    int index = 0;
    for (const ParamOption& option : param.options) {
        const size_t shortWords = WordsFor(option.shortText, kMaxOptionTextBytes);
        const size_t longWords = WordsFor(option.longText, kMaxOptionTextBytes);
        body.Word(kOptionMark | index++);
        body.Word(static_cast<int>(shortWords));
        body.Word(static_cast<int>(longWords));
        body.FixedText(option.shortText, shortWords, ' ');
        body.FixedText(option.longText, longWords, ' ');
    }
    body.Word(kRecordEndMark);
    return body.Record();
}

std::vector<uint8_t> EncodeFunctionRecord(const FunctionDef& function) {
    BodyWriter body;
    RecordHead(body, function.number, kFunctionRecordKind, function.flags, function.minValue,
               function.maxValue);
    body.Word(function.name.empty() ? 0 : 1);
    body.Word(static_cast<int>(function.options.size()));
    if (!function.name.empty()) {
        body.NulEndedText(function.name);
    }
    int index = 0;
    for (const FunctionOption& option : function.options) {
        const size_t labelWords = WordsFor(option.label, kMaxOptionTextBytes);
        body.Word(kOptionMark | index++);
        body.Word(static_cast<int>(labelWords));
        body.Word(option.help.empty() ? 0 : 1);
        body.FixedText(option.label, labelWords, 0);
        if (!option.help.empty()) {
            body.NulEndedText(option.help);
        }
    }
    body.Word(kRecordEndMark);
    return body.Record();
}

std::vector<uint8_t> EncodeMenuRecord(const MenuDef& menu, MenuFamily family) {
    BodyWriter body;
    body.Word(menu.number);
    body.Word(kMenuRecordKind);
    body.Word(menu.flags);
    for (uint8_t knob : menu.knobs) {
        body.Word(knob);
    }
    body.Zeros(8);
    const int buttons = MenuButtonCount(family);
    for (int i = 0; i < buttons; ++i) {
        body.Word(menu.targets[static_cast<size_t>(i)]);
    }
    for (uint8_t function : menu.functions) {
        body.Word(function);
    }
    for (int i = buttons + kMenuFunctionButtons; i < MenuEntryWords(family); ++i) {
        body.Word(kNoTarget);
    }
    const size_t titleWords = WordsFor(menu.title, kMaxOptionTextBytes);
    const size_t shortWords = WordsFor(menu.shortName, kMaxOptionTextBytes);
    const size_t trailingWords = 1;
    body.Word(static_cast<int>(titleWords));
    body.Word(static_cast<int>(shortWords));
    body.Word(static_cast<int>(trailingWords));
    body.FixedText(menu.title, titleWords, 0);
    body.FixedText(menu.shortName, shortWords, 0);
    body.Word(menu.number);  // the unit's own trailing word
    return body.Record();
}

std::vector<uint8_t> EncodeMessageRecord(const MessageDef& message) {
    // Caption and text together must keep the record within a low length byte.
    constexpr size_t kFixedWords = 1 + 8 + 6 + 1;
    const size_t captionWords = WordsFor(message.caption, 100);
    const size_t textWords =
        WordsFor(message.text, (kMaxShortRecordWords - kFixedWords - captionWords) * 2);
    BodyWriter body;
    body.Word(message.number);
    body.Word(0);
    body.Word(message.flags);
    body.Word(0);
    body.Word(static_cast<int>(captionWords));
    body.Zeros(6);
    body.FixedText(message.caption, captionWords, 0);
    body.Zeros(12);
    body.Word(static_cast<int>(textWords));
    body.FixedText(message.text, textWords, 0);
    return body.Record();
}

std::vector<uint8_t> EncodeSkippedRecord(const std::vector<uint8_t>& body) {
    BodyWriter writer;
    const size_t maxBytes = (kMaxShortRecordWords - 1) * 2;
    writer.Bytes(std::vector<uint8_t>(
        body.begin(), body.begin() + static_cast<std::ptrdiff_t>(std::min(body.size(), maxBytes))));
    return writer.Record();
}

void MenuImageBuilder::AddParameter(const ParamDef& param) {
    m_params.push_back(EncodeParameterRecord(param));
}

void MenuImageBuilder::AddFunction(const FunctionDef& function) {
    m_functions.push_back(EncodeFunctionRecord(function));
}

void MenuImageBuilder::AddMenu(const MenuDef& menu) {
    m_menus.push_back(EncodeMenuRecord(menu, m_family));
}

void MenuImageBuilder::AddSkippedRecord(const SkippedRecordDef& record) {
    if (record.section >= 0 && record.section < kMenuImageUnitSections) {
        m_sections[static_cast<size_t>(record.section)].push_back(EncodeSkippedRecord(record.body));
    }
}

void MenuImageBuilder::AddMessage(const MessageDef& message) {
    m_messages.push_back(EncodeMessageRecord(message));
}

std::vector<uint8_t> MenuImageBuilder::Build() const {
    std::vector<uint8_t> image(m_header.begin(), m_header.end());
    AppendSection(image, m_params);

    std::vector<std::vector<uint8_t>> functions = m_functions;
    functions.push_back(EncodeFunctionRecord({.number = kLastFunctionNumber, .name = "end"}));
    AppendSection(image, functions);

    AppendSection(image, m_menus);
    for (const auto& section : m_sections) {
        AppendSection(image, section);
    }
    AppendSection(image, m_messages);
    return image;
}

std::vector<uint8_t> BuildModelImage(const ModelDefinition& model) {
    MenuImageBuilder builder(model.family);
    builder.SetHeader(
        {'K', 'V', static_cast<uint8_t>(model.family == MenuFamily::Compact ? 1 : 2), model.code});
    for (const auto* set : model.parameterSets) {
        for (const ParamDef& param : *set) {
            builder.AddParameter(param);
        }
    }
    for (const auto* set : model.functionSets) {
        for (const FunctionDef& function : *set) {
            builder.AddFunction(function);
        }
    }
    for (const auto* set : model.menuSets) {
        for (const MenuDef& menu : *set) {
            builder.AddMenu(menu);
        }
    }
    if (model.skippedRecords) {
        for (const SkippedRecordDef& record : *model.skippedRecords) {
            builder.AddSkippedRecord(record);
        }
    }
    for (const auto* set : model.messageSets) {
        for (const MessageDef& message : *set) {
            builder.AddMessage(message);
        }
    }
    return builder.Build();
}
