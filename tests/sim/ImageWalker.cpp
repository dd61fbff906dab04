#include "tests/sim/ImageWalker.h"

#include <algorithm>

namespace {

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

uint8_t ImageWalker::Byte(size_t at) {
    if (at >= m_image.size()) {
        m_out.outOfBounds = true;
        return 0;
    }
    return m_image[at];
}

std::string ImageWalker::NulText(size_t& at) {
    std::string text;
    while (at < m_image.size() && m_image[at] != 0) {
        text += static_cast<char>(m_image[at++]);
    }
    while (at < m_image.size() && m_image[at] == 0) {
        ++at;
    }
    return text;
}

std::string ImageWalker::FixedText(size_t at, size_t bytes) {
    std::string text;
    for (size_t i = 0; i < bytes; ++i) {
        if (const uint8_t b = Byte(at + i)) {
            text += static_cast<char>(b);
        }
    }
    return Trim(text);
}

void ImageWalker::EndRecord(size_t start, size_t stop, size_t& next) {
    const size_t byLength = start + 2 * static_cast<size_t>(Word(start));
    if (stop > byLength) {
        ++m_out.overruns;
    }
    next = std::max(byLength, stop);
}

void ImageWalker::Parameter(size_t start, size_t body, size_t& next) {
    WalkedParam param;
    param.flags = Word(body + 4);
    param.rawMin = SignedWord(body + 10);
    param.rawMax = SignedWord(body + 12);
    param.optionCount = Word(body + 24);
    size_t at = body + 26;
    if (Word(body + 18)) {
        param.name = Trim(NulText(at));
    }
    if (Word(body + 22)) {
        NulText(at);
    }
    for (int i = 0; i < param.optionCount; ++i) {
        const size_t first = static_cast<size_t>(Byte(at + 2) | Byte(at + 3));
        const size_t second = static_cast<size_t>(Byte(at + 4) | Byte(at + 5));
        at += 6 + 2 * first + 2 * second;
    }
    m_out.params[Word(body)] = param;
    EndRecord(start, at, next);
}

void ImageWalker::Function(size_t start, size_t body, size_t& next) {
    const int options = Word(body + 16);
    size_t at = body + 18;
    if (Word(body + 14)) {
        NulText(at);
    }
    std::string label;
    for (int i = 0; i < options; ++i) {
        const size_t textWords = static_cast<size_t>(Word(at + 2));
        const bool help = Word(at + 4) != 0;
        at += 6;
        label += (i ? "," : "") + FixedText(at, 2 * textWords);
        at += 2 * textWords;
        if (help) {
            NulText(at);
        }
    }
    m_out.functionLabels[Word(body)] = label;
    EndRecord(start, at, next);
}

void ImageWalker::Menu(size_t start, size_t body, size_t& next) {
    WalkedMenu menu;
    menu.flags = Word(body + 4);
    for (int k = 0; k < 8; ++k) {
        menu.knobs.push_back(Word(body + 6 + 2 * static_cast<size_t>(k)));
    }
    size_t at = body + 30;
    for (int i = 0; i < m_entryWords; ++i, at += 2) {
        menu.entries.push_back(Word(at));
    }
    const size_t title = 2 * static_cast<size_t>(Word(at));
    const size_t shortName = 2 * static_cast<size_t>(Word(at + 2));
    const size_t trailing = 2 * static_cast<size_t>(Word(at + 4));
    at += 6;
    menu.title = FixedText(at, title);
    menu.shortName = FixedText(at + title, shortName);
    at += title + shortName + trailing;
    m_out.menus[Word(body)] = menu;
    EndRecord(start, at, next);
}

void ImageWalker::Message(size_t body) {
    const int number = Word(body);
    m_out.messageFlags[number] = Word(body + 4);
    const size_t caption = 2 * static_cast<size_t>(Word(body + 8));
    const size_t textAt = body + 16 + caption + 12;
    m_out.messageTexts[number] = FixedText(textAt + 2, 2 * static_cast<size_t>(Word(textAt)));
}

WalkedImage ImageWalker::Walk() {
    size_t at = 4;
    const int params = Word(at);
    at += 2;
    for (int i = 0; i < params && !m_out.outOfBounds; ++i) {
        Parameter(at, at + 2, at);
    }
    const int functions = Word(at);
    m_out.functionRecords = functions;
    at += 2;
    for (int i = 0; i < functions && !m_out.outOfBounds; ++i) {
        if (i + 1 == functions) {
            at += 2 * static_cast<size_t>(Word(at));  // the last one is never parsed
        } else {
            Function(at, at + 2, at);
        }
    }
    const int menus = Word(at);
    at += 2;
    for (int i = 0; i < menus && !m_out.outOfBounds; ++i) {
        Menu(at, at + 2, at);
    }
    for (int section = 0; section < 5; ++section) {
        const int records = Byte(at + 1);
        at += 2;
        for (int i = 0; i < records; ++i) {
            at += 2 * static_cast<size_t>(Byte(at + 1));
        }
    }
    const int messages = Byte(at + 1);
    at += 2;
    for (int i = 0; i < messages && !m_out.outOfBounds; ++i) {
        Message(at + 2);
        at += 2 * static_cast<size_t>(Byte(at + 1));
    }
    m_out.end = at;
    return m_out;
}
