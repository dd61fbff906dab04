#include "remote/StateItems.h"

#include "remote/ShownValue.h"

namespace {

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
