#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "link/LockoutCommands.h"
#include "tests/support/ImageBytes.h"
#include "tests/support/LinkFixture.h"
#include "unit/MenuImageParser.h"

// The layouts below are written with designated initializers that leave the other fields at
// their defaults; GCC 12 warns about every such field although nothing is left uninitialised.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

// Hand-laid records, field by field as a unit lays them out. Texts of a fixed size are
// padded with NUL bytes; the uninterpreted word that opens an option is 0x5A5A, a non-zero
// byte where the name's padding ends.

struct ParamLayout {
    uint16_t number = 0;
    uint16_t kind = 0x0102;
    uint16_t flags = 0;
    uint32_t extra = 0x0A0B0C0D;
    int16_t rawMin = 0;
    int16_t rawMax = 1000;
    int16_t dispMin = 0;
    int16_t dispMax = 100;
    std::string name;  // written NUL-ended and padded to even when not empty
    std::string secondText;
    std::vector<std::pair<std::string, std::string>> options;
};

// `text` in exactly 2 x `words` bytes, NUL padded.
inline std::string InWords(const std::string& text, uint16_t words) {
    std::string bytes = text;
    bytes.resize(static_cast<size_t>(words) * 2, '\0');
    return bytes;
}

inline uint16_t WordsFor(const std::string& text) {
    return static_cast<uint16_t>((text.size() + 1) / 2);
}

// A NUL-ended text padded to an even count.
inline void PaddedName(ImageBytes& image, const std::string& text) {
    image.Chars(text).Byte(0);
    if ((text.size() + 1) % 2 != 0) {
        image.Byte(0);
    }
}

inline void AddParameter(ImageBytes& image, const ParamLayout& p) {
    image.Open()
        .Word(p.number)
        .Word(p.kind)
        .Word(p.flags)
        .Word(static_cast<uint16_t>(p.extra >> 16))
        .Word(static_cast<uint16_t>(p.extra & 0xFFFF))
        .Word(static_cast<uint16_t>(p.rawMin))
        .Word(static_cast<uint16_t>(p.rawMax))
        .Word(static_cast<uint16_t>(p.dispMin))
        .Word(static_cast<uint16_t>(p.dispMax))
        .Word(p.name.empty() ? 0 : 1)
        .Word(0x7777)
        .Word(p.secondText.empty() ? 0 : 1)
        .Word(static_cast<uint16_t>(p.options.size()));
    if (!p.name.empty()) {
        PaddedName(image, p.name);
    }
    if (!p.secondText.empty()) {
        PaddedName(image, p.secondText);
    }
    for (const auto& [first, second] : p.options) {
        const uint16_t firstWords = WordsFor(first);
        const uint16_t secondWords = WordsFor(second);
        image.Word(0x5A5A).Word(firstWords).Word(secondWords);
        image.Chars(InWords(first, firstWords)).Chars(InWords(second, secondWords));
    }
    image.Close();
}

struct FunctionLayout {
    uint16_t number = 128;
    uint16_t flags = 0;
    int16_t minValue = 0;
    int16_t maxValue = 1;
    std::string name;
    std::vector<std::string> options;
    std::string extraText;  // written behind every option when not empty
};

inline void AddFunction(ImageBytes& image, const FunctionLayout& f) {
    image.Open()
        .Word(f.number)
        .Word(0x0003)
        .Word(f.flags)
        .Word(0x1111)
        .Word(0x2222)
        .Word(static_cast<uint16_t>(f.minValue))
        .Word(static_cast<uint16_t>(f.maxValue))
        .Word(f.name.empty() ? 0 : 1)
        .Word(static_cast<uint16_t>(f.options.size()));
    if (!f.name.empty()) {
        PaddedName(image, f.name);
    }
    for (const std::string& option : f.options) {
        const uint16_t words = WordsFor(option);
        image.Word(0x5A5A).Word(words).Word(f.extraText.empty() ? 0 : 1);
        image.Chars(InWords(option, words));
        if (!f.extraText.empty()) {
            PaddedName(image, f.extraText);
        }
    }
    image.Close();
}

struct MenuLayout {
    uint16_t number = 0;
    uint16_t flags = 0;
    std::vector<uint16_t> knobs = std::vector<uint16_t>(8, 128);
    std::vector<uint16_t> entries;  // exactly the family's entry count
    std::string title;
    std::string shortName;
    uint16_t trailingWords = 0;
};

inline void AddMenu(ImageBytes& image, const MenuLayout& m) {
    image.Open().Word(m.number).Word(0x0009).Word(m.flags);
    for (uint16_t knob : m.knobs) {
        image.Word(knob);
    }
    image.Zeros(8);
    for (uint16_t entry : m.entries) {
        image.Word(entry);
    }
    const uint16_t titleWords = WordsFor(m.title);
    const uint16_t shortWords = WordsFor(m.shortName);
    image.Word(titleWords).Word(shortWords).Word(m.trailingWords);
    image.Chars(InWords(m.title, titleWords)).Chars(InWords(m.shortName, shortWords));
    for (int i = 0; i < m.trailingWords; ++i) {
        image.Word(0xEEEE);
    }
    image.Close();
}

inline void AddMessage(ImageBytes& image, uint16_t number, uint16_t flags,
                       const std::string& caption, const std::string& text) {
    const uint16_t captionWords = WordsFor(caption);
    const uint16_t textWords = WordsFor(text);
    image.Open().Word(number).Word(0x4444).Word(flags).Word(0x5555).Word(captionWords);
    image.Zeros(6).Chars(InWords(caption, captionWords)).Zeros(12);
    image.Word(textWords).Chars(InWords(text, textWords));
    image.Close();
}

// The sections between menus and messages: five empty ones.
inline void AddEmptySections(ImageBytes& image) {
    for (int i = 0; i < 5; ++i) {
        image.Word(0);
    }
}

// Closes an image after its menu section: empty skipped sections, no messages.
inline void EndAfterMenus(ImageBytes& image) {
    AddEmptySections(image);
    image.Word(0);
}
// Closes an image after its function section: no menus, then as above.
inline void EndAfterFunctions(ImageBytes& image) {
    image.Word(0);
    EndAfterMenus(image);
}
// Closes an image after its parameter section: no functions, then as above.
inline void EndAfterParameters(ImageBytes& image) {
    image.Word(0);
    EndAfterFunctions(image);
}

// A unit on the fixture's line that answers the lock-out read and the identify the parser
// sends, with its model code; the image goes into unit slot 1.
class MenuImageTest : public LinkFixture {
  protected:
    void SetUp() override {
        LinkFixture::SetUp();
        ResetOnAirLockTables();
        g_currentUnitAddress = 0x10;
        knobLocks.assign(128, kLockStateUnlocked);
        functionLocks.assign(128, kLockStateUnlocked);
        peer.onRequest = [this](const std::vector<uint8_t>& request) { AnswerUnit(request); };
    }
    void TearDown() override {
        ResetOnAirLockTables();
        LinkFixture::TearDown();
    }

    // The unit's model code, in g_unitStatus before parsing and in its identify answers.
    void SetModel(uint8_t code) {
        model = code;
        g_unitStatus[kStatusByteModel] = code;
    }

    void Load(const std::vector<uint8_t>& bytes) {
        auto& block = g_panelModel.MenuImage(1);
        block.fill(0);
        std::copy_n(bytes.begin(), std::min(bytes.size(), block.size()), block.begin());
    }

    MenuImageWalk Parse(const ImageBytes& image) {
        Load(image.Bytes());
        return ParseMenuImage(1);
    }

    void AnswerUnit(const std::vector<uint8_t>& request) {
        if (!unitAnswers) {
            return;
        }
        if (request[2] == 0xB9) {
            // Model 4 sends the function table first.
            const bool functionsFirst = (lockReads++ % 2 == 0) == (model == 4);
            peer.AnswerPacket(0x10, 0x02, functionsFirst ? functionLocks : knobLocks);
        } else if (request[2] == 0xC0) {
            peer.AnswerPacket(0x10, 0x40, {0x40, 0x00, model, 0x07, 0, 0, 0, 0, 0});
        }
    }

    uint8_t model = 11;
    bool unitAnswers = true;
    int lockReads = 0;
    std::vector<uint8_t> knobLocks;
    std::vector<uint8_t> functionLocks;
};
