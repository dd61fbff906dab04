#include "remote/CommandRunner.h"

#include <memory>
#include <optional>

#include "remote/RemoteLimits.h"
#include "remote/ShownValue.h"
#include "remote/StateItems.h"

const char* const kReadOnlyReason = "read-only: this server takes reads and SUBSCRIBE only.";

namespace {

RemoteAnswer FromOutcome(const ActionOutcome& outcome, std::string okText = {}) {
    return outcome.taken ? RemoteAnswer::Ok(std::move(okText))
                         : RemoteAnswer::Error(outcome.reason);
}

// A parameter of the selected unit's table, by its place there, which is its number.
struct FoundParameter {
    const ParamRecord* param = nullptr;
    int number = -1;
    std::string error;
};

FoundParameter FindParameter(const ParameterRef& ref) {
    if (ref.name.empty()) {
        if (ref.number >= 0 && ref.number < kEmptyKnobParam &&
            !g_paramTable[ref.number].name.empty()) {
            return {&g_paramTable[ref.number], ref.number, {}};
        }
        return {nullptr, -1,
                "Parameter " + std::to_string(ref.number) + " is not one of the selected unit's."};
    }
    for (int number = 0; number < kEmptyKnobParam; ++number) {
        if (SameLabel(g_paramTable[number].name, ref.name)) {
            return {&g_paramTable[number], number, {}};
        }
    }
    return {nullptr, -1, "The selected unit has no parameter \"" + ref.name + "\"."};
}

// A key's label, then a menu button's caption, then a function button's, as the panel shows
// them when the press runs. What a client may not press the panel refuses itself.
RemoteAnswer PressLabelled(const std::string& label, const CommandContext& context) {
    return FromOutcome(context.actions.PressLabelled(label, context.origin));
}

// The parameter and raw value of a SET or SETSHOWN, read from the tables as they are now.
ParameterChange FindChange(const RemoteCommand& command) {
    const FoundParameter found = FindParameter(command.parameter);
    if (found.param == nullptr) {
        return {-1, 0, found.error};
    }
    int raw = command.amount;
    if (raw < kLowestRawValue || raw > kHighestRawValue) {
        return {-1, 0,
                "A raw value is one signed 16-bit word: " + std::to_string(kLowestRawValue) +
                    " to " + std::to_string(kHighestRawValue) + "."};
    }
    if (command.verb == Verb::SetShown) {
        const RawForShownResult inverse = RawForShown(*found.param, command.text);
        if (!inverse.raw) {
            return {-1, 0, inverse.error};
        }
        raw = *inverse.raw;
    }
    return {found.number, raw, {}};
}

// The parameter and its range are found when the action's turn comes. The answer carries the
// raw value found then; for a change still queued, the one the tables give now.
RemoteAnswer SetParameter(const RemoteCommand& command, const CommandContext& context) {
    auto found = std::make_shared<std::optional<ParameterChange>>();
    const ActionOutcome outcome = context.actions.SetFoundParameter(
        [command, found] { return found->emplace(FindChange(command)); }, context.origin);
    if (!outcome.taken) {
        return RemoteAnswer::Error(outcome.reason);
    }
    const ParameterChange change = found->has_value() ? **found : FindChange(command);
    return RemoteAnswer::Ok(change.refusal.empty() ? std::to_string(change.value) : std::string());
}

RemoteAnswer ReadKnob(int knob, const PanelState& state) {
    if (knob < 1 || knob > kActionKnobs) {
        return RemoteAnswer::Error("Knob " + std::to_string(knob) +
                                   " does not exist: they are numbered 1 to " +
                                   std::to_string(kActionKnobs) + ".");
    }
    return RemoteAnswer::Ok(ItemText(KnobItem(state, knob - 1)));
}

std::string OnLineUnits(const PanelState& state) {
    std::string units;
    for (size_t unit = 0; unit < state.onLine.size(); ++unit) {
        if (state.onLine[unit]) {
            units += (units.empty() ? "" : " ") + std::to_string(unit + 1);
        }
    }
    return units.empty() ? "none" : units;
}

std::string LitKeys(const PanelState& state) {
    std::string lit;
    for (const ButtonState& key : state.toggles) {
        if (key.lit && !key.label.empty()) {
            lit += (lit.empty() ? "" : " ") + Quoted(key.label);
        }
    }
    return lit.empty() ? "none" : lit;
}

}  // namespace

std::string RemoteAnswer::Line() const {
    std::string line = ok ? "OK" : "ERR";
    if (!text.empty()) {
        line += " " + text;
    }
    // A client's own words come back in a reason: they never end the line early.
    return ClientText(line);
}

RemoteAnswer RunCommand(const RemoteCommand& command, const CommandContext& context) {
    if (context.readOnly && ChangesThePanel(command.verb)) {
        return RemoteAnswer::Error(kReadOnlyReason);
    }
    ControlActions& actions = context.actions;
    const ActionOrigin& origin = context.origin;
    const PanelState& state = context.state;
    switch (command.verb) {
        case Verb::Help:
            return RemoteAnswer::Ok(CommandSummary());
        case Verb::SelectUnit:
            return FromOutcome(actions.SelectUnit(command.number, origin));
        case Verb::ReadUnit:
            return RemoteAnswer::Ok(std::to_string(state.selectedUnit));
        case Verb::TurnKnob:
            return FromOutcome(actions.TurnKnob(command.number - 1, command.amount, origin));
        case Verb::SetRaw:
        case Verb::SetShown:
            return SetParameter(command, context);
        case Verb::PressMenu:
            return FromOutcome(actions.PressMenuButton(command.number - 1, origin));
        case Verb::PressFunction:
            return FromOutcome(actions.PressFunctionButton(command.number - 1, origin));
        case Verb::PressLabel:
            return PressLabelled(command.text, context);
        case Verb::Store:
            return FromOutcome(actions.StoreMemory(command.number, origin));
        case Verb::Recall:
            return FromOutcome(actions.RecallMemory(command.number, origin));
        case Verb::ReadParameter: {
            const FoundParameter found = FindParameter(command.parameter);
            return found.param != nullptr
                       ? RemoteAnswer::Ok(ItemText(ParameterItem(found.number, *found.param)))
                       : RemoteAnswer::Error(found.error);
        }
        case Verb::ReadKnob:
            return ReadKnob(command.number, state);
        case Verb::ReadTitle:
            return RemoteAnswer::Ok(Quoted(state.menuTitle));
        case Verb::ReadOnLine:
            return RemoteAnswer::Ok(OnLineUnits(state));
        case Verb::ReadLink:
            return RemoteAnswer::Ok(state.linkLost ? "lost" : "ok");
        case Verb::ReadLamps:
            return RemoteAnswer::Ok(LitKeys(state));
        case Verb::Subscribe:
            return RemoteAnswer::Ok("subscribed");
        case Verb::Unsubscribe:
            return RemoteAnswer::Ok("unsubscribed");
        case Verb::Quit:
            return RemoteAnswer::Ok("bye");
    }
    return RemoteAnswer::Error("No such command.");
}
