#pragma once

#include <string>
#include <utility>
#include <vector>

// Small JSON builders for the probe's one object per command. Each returns JSON text.
using JsonField = std::pair<std::string, std::string>;  // key, JSON text of the value

// 8-bit text as a JSON string: each byte becomes the code point of the same value.
std::string JsonText(const std::string& bytes);
std::string JsonInt(long long value);
std::string JsonBool(bool value);
std::string JsonArray(const std::vector<std::string>& items);
std::string JsonObject(const std::vector<JsonField>& fields);

template <typename Sequence>
std::string JsonIntArray(const Sequence& values) {
    std::vector<std::string> items;
    for (const auto& value : values) {
        items.push_back(JsonInt(static_cast<long long>(value)));
    }
    return JsonArray(items);
}
