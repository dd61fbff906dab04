// The line rules of QN2.ini: headers, settings, and what is dropped.
#include "app/ConfigStore.h"

namespace {

bool IsKeyBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view TrimKey(std::string_view text) {
    while (!text.empty() && IsKeyBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsKeyBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsHeader(std::string_view line) {
    return line.front() == '[' && line.back() == ']';
}

// "[[ROUTER]]" names ROUTER: every leading "[" and trailing "]" goes, blanks inside stay.
std::string_view HeaderName(std::string_view line) {
    const std::size_t first = line.find_first_not_of('[');
    if (first == std::string_view::npos) {
        return {};
    }
    line.remove_prefix(first);
    const std::size_t last = line.find_last_not_of(']');
    return last == std::string_view::npos ? std::string_view{} : line.substr(0, last + 1);
}

}  // namespace

void ConfigParser::Feed(std::string_view bytes) {
    // Whole runs of bytes at a time: every carriage return is dropped, a line feed ends a line.
    // A line that lies whole in `bytes`, with no carriage return, is taken where it lies.
    while (!bytes.empty()) {
        const std::size_t lineEnd = bytes.find('\n');
        std::string_view piece = bytes.substr(0, lineEnd);
        const bool whole = lineEnd != std::string_view::npos && m_line.empty();
        if (whole && piece.find('\r') == std::string_view::npos) {
            TakeLine(piece);
        } else {
            for (std::size_t cr = piece.find('\r'); cr != std::string_view::npos;
                 cr = piece.find('\r')) {
                m_line.append(piece.substr(0, cr));
                piece.remove_prefix(cr + 1);
            }
            m_line.append(piece);
            if (lineEnd == std::string_view::npos) {
                return;
            }
            TakeLine(m_line);
            m_line.clear();
        }
        bytes.remove_prefix(lineEnd + 1);
    }
}

void ConfigParser::Finish() {
    TakeLine(m_line);
    m_line.clear();
}

void ConfigParser::TakeLine(std::string_view line) {
    if (line.empty()) {
        return;
    }
    if (IsHeader(line)) {
        m_section = HeaderName(line);
    } else {
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            // A line without "=" has no key; its value drops the first character.
            m_store.StoreSetting(m_section, {}, line.substr(1), ConfigStore::Create::Yes);
        } else {
            m_store.StoreSetting(m_section, TrimKey(line.substr(0, equals)),
                                 line.substr(equals + 1), ConfigStore::Create::Yes);
        }
    }
}
