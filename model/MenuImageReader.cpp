#include "model/MenuImageReader.h"

#include <algorithm>

bool MenuImageReader::Has(size_t count) {
    if (!m_overrun && count <= m_block.size() - m_position) {
        return true;
    }
    m_overrun = true;
    m_position = m_block.size();
    return false;
}

void MenuImageReader::Seek(size_t position) {
    if (m_overrun || position > m_block.size()) {
        m_overrun = true;
        m_position = m_block.size();
        return;
    }
    m_position = position;
}

uint8_t MenuImageReader::Byte() {
    if (!Has(1)) {
        return 0;
    }
    return m_block[m_position++];
}

uint16_t MenuImageReader::Word() {
    if (!Has(2)) {
        return 0;
    }
    const uint16_t word = static_cast<uint16_t>(m_block[m_position] << 8 | m_block[m_position + 1]);
    m_position += 2;
    return word;
}

uint32_t MenuImageReader::Long() {
    const uint32_t high = Word();
    return high << 16 | Word();
}

std::string MenuImageReader::FixedText(size_t count) {
    std::string text;
    if (!Has(count)) {
        return text;
    }
    for (size_t i = 0; i < count; ++i) {
        const uint8_t byte = m_block[m_position + i];
        if (byte != 0) {
            text.push_back(static_cast<char>(byte));
        }
    }
    m_position += count;
    return text;
}

std::string MenuImageReader::NulText() {
    if (!Has(1)) {
        return {};
    }
    const auto begin = m_block.begin() + static_cast<std::ptrdiff_t>(m_position);
    const auto nul = std::find(begin, m_block.end(), uint8_t{0});
    if (nul == m_block.end()) {
        Seek(m_block.size() + 1);
        return {};
    }
    std::string text(begin, nul);
    m_position += text.size() + 1;
    return text;
}

void MenuImageReader::SkipPadding(size_t limit) {
    const size_t end = std::min(limit, m_block.size());
    while (!m_overrun && m_position < end && m_block[m_position] == 0) {
        ++m_position;
    }
}

std::string Trimmed(const std::string& text) {
    const auto isBlank = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
    };
    size_t first = 0;
    size_t last = text.size();
    while (first < last && isBlank(text[first])) {
        ++first;
    }
    while (last > first && isBlank(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}
