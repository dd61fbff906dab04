#include "surface/Mapping.h"

#include <algorithm>
#include <cctype>

std::string ToggleLabel(const std::string& label) {
    const auto first = label.find_first_not_of(' ');
    const auto last = label.find_last_not_of(' ');
    std::string trimmed = first == std::string::npos ? "" : label.substr(first, last - first + 1);
    std::transform(trimmed.begin(), trimmed.end(), trimmed.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return trimmed;
}

std::optional<PanelControl> BoundTo(const Mapping& mapping, const MidiControl& control) {
    for (int knob = 0; knob < kActionKnobs; ++knob) {
        if (mapping.knobs[knob] && mapping.knobs[knob]->control == control) {
            return PanelControl{PanelControl::Kind::Knob, knob, {}};
        }
    }
    for (const ButtonBinding& button : mapping.buttons) {
        if (button.control == control) {
            return button.target;
        }
    }
    return std::nullopt;
}

namespace {

void Unbind(Mapping& mapping, const MidiControl& control) {
    for (auto& knob : mapping.knobs) {
        if (knob && knob->control == control) {
            knob.reset();
        }
    }
    std::erase_if(mapping.buttons,
                  [&control](const ButtonBinding& button) { return button.control == control; });
}

}  // namespace

void BindKnob(Mapping& mapping, int knob, const KnobBinding& binding) {
    if (knob < 0 || knob >= kActionKnobs) {
        return;
    }
    Unbind(mapping, binding.control);
    mapping.knobs[knob] = binding;
}

void BindButton(Mapping& mapping, const PanelControl& pressed, const MidiControl& control) {
    PanelControl target = pressed;
    target.label = ToggleLabel(target.label);
    Unbind(mapping, control);
    std::erase_if(mapping.buttons,
                  [&target](const ButtonBinding& button) { return button.target == target; });
    mapping.buttons.push_back({target, control, true, 0});
}

std::string PanelControlName(const PanelControl& control) {
    switch (control.kind) {
        case PanelControl::Kind::Knob:
            return "Knob " + std::to_string(control.index + 1);
        case PanelControl::Kind::MenuButton:
            return "Menu button " + std::to_string(control.index + 1);
        case PanelControl::Kind::FunctionButton:
            return "Function button " + std::to_string(control.index + 1);
        case PanelControl::Kind::Toggle:
            return ToggleLabel(control.label);
    }
    return {};
}
