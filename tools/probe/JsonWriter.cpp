#include "tools/probe/JsonWriter.h"

#include <cstdio>

std::string JsonText(const std::string& bytes) {
    std::string out = "\"";
    for (unsigned char c : bytes) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", c);
            out += escaped;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            // The byte's code point (U+0080..U+00FF) in UTF-8.
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out + "\"";
}

std::string JsonInt(long long value) {
    return std::to_string(value);
}

std::string JsonBool(bool value) {
    return value ? "true" : "false";
}

std::string JsonArray(const std::vector<std::string>& items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) {
        out += (i ? ", " : "") + items[i];
    }
    return out + "]";
}

std::string JsonObject(const std::vector<JsonField>& fields) {
    std::string out = "{";
    for (size_t i = 0; i < fields.size(); ++i) {
        out += (i ? ", " : "") + JsonText(fields[i].first) + ": " + fields[i].second;
    }
    return out + "}";
}
