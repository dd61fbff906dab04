#include "remote/StateItems.h"

#include "remote/ShownValue.h"

namespace {

// The length of the well-formed UTF-8 sequence at `at`, 0 when there is none.
size_t Utf8Length(const std::string& text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        return 1;
    }
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        const unsigned char next = byte(at + i);
        if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF)) {
            return 0;
        }
    }
    return length;
}

int Flag(bool on) {
    return on ? 1 : 0;
}

StateItem ButtonItem(const char* topic, int number, const ButtonState& button) {
    return {topic, {number, button.label, Flag(button.lit)}};
}

}  // namespace

StateItem KnobItem(const PanelState& state, int knob) {
    const KnobState& k = state.knobs.at(static_cast<size_t>(knob));
    return {
        "knob",
        {knob + 1, Flag(k.bound), k.parameter, k.name, k.value, k.minimum, k.maximum, k.valueText}};
}

StateItem ParameterItem(int number, const ParamRecord& param) {
    return {"param",
            {number, param.name, param.value, param.rawMin, param.rawMax, ShownValueText(param)}};
}

std::vector<StateItem> AllStateItems(const PanelState& state) {
    std::vector<StateItem> items;
    items.push_back({"unit", {state.selectedUnit}});
    for (size_t unit = 0; unit < state.onLine.size(); ++unit) {
        items.push_back({"online", {static_cast<int>(unit) + 1, Flag(state.onLine[unit])}});
    }
    items.push_back({"link", {std::string(state.linkLost ? "lost" : "ok")}});
    items.push_back({"title", {state.menuTitle}});
    items.push_back({"info", {state.infoLine}});
    for (int knob = 0; knob < kActionKnobs; ++knob) {
        items.push_back(KnobItem(state, knob));
    }
    for (size_t i = 0; i < state.menuButtons.size(); ++i) {
        items.push_back(ButtonItem("menu", static_cast<int>(i) + 1, state.menuButtons[i]));
    }
    for (size_t i = 0; i < state.functionButtons.size(); ++i) {
        items.push_back(ButtonItem("function", static_cast<int>(i) + 1, state.functionButtons[i]));
    }
    for (const ButtonState& key : state.toggles) {
        items.push_back({"key", {key.label, Flag(key.lit)}});
    }
    return items;
}

std::vector<StateItem> ChangedStateItems(const std::optional<PanelState>& before,
                                         const PanelState& after) {
    std::vector<StateItem> now = AllStateItems(after);
    if (!before) {
        return now;
    }
    const std::vector<StateItem> then = AllStateItems(*before);
    std::vector<StateItem> changed;
    for (size_t i = 0; i < now.size(); ++i) {
        if (i >= then.size() || now[i] != then[i]) {
            changed.push_back(std::move(now[i]));
        }
    }
    return changed;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        // A line ends a command: a unit's text never breaks one.
        quoted += (c == '\n' || c == '\r') ? ' ' : c;
    }
    return quoted + "\"";
}

std::string ClientText(const std::string& text) {
    std::string clean;
    clean.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const size_t length = Utf8Length(text, at);
        const unsigned char c = static_cast<unsigned char>(text[at]);
        if (length == 0) {
            clean += '?';
            ++at;
        } else if (length == 1) {
            clean += (c < 0x20 || c == 0x7F) ? ' ' : text[at];
            ++at;
        } else {
            clean.append(text, at, length);
            at += length;
        }
    }
    return clean;
}

std::string ItemText(const StateItem& item) {
    std::string text = item.topic;
    for (const StateValue& value : item.values) {
        text += ' ';
        if (const int* number = std::get_if<int>(&value)) {
            text += std::to_string(*number);
        } else {
            text += Quoted(std::get<std::string>(value));
        }
    }
    return text;
}
