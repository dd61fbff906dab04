#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "actions/PanelState.h"
#include "model/PanelModel.h"

// What a client reads and what is pushed to a subscriber, as items: a topic and its values,
// the same for both transports. The line protocol writes an item as its topic and values
// ("knob 1 1 12 \"Gain\" 512 0 1023 \"50%\""), OSC as a message to /vcp/state/<topic>.
//
//   unit      selected unit (0 for none)
//   online    unit, 1 when it answers the polls
//   link      "ok" or "lost"
//   title     the menu title
//   info      the information line
//   knob      knob, bound (1/0), parameter (-1 for the panel's own), name, value, minimum,
//             maximum, the text its display shows
//   menu      button, caption, lit (1/0)
//   function  button, caption, lit (1/0)
//   key       the hard key's label, its lamp lit (1/0)
//   param     (a read only) number, name, value, minimum, maximum, shown text

using StateValue = std::variant<int, std::string>;

struct StateItem {
    std::string topic;
    std::vector<StateValue> values;
    bool operator==(const StateItem&) const = default;
};

// Every item of a state, always the same topics in the same order.
std::vector<StateItem> AllStateItems(const PanelState& state);
// The items of `after` that differ from `before`; all of them when there is no before.
std::vector<StateItem> ChangedStateItems(const std::optional<PanelState>& before,
                                         const PanelState& after);

StateItem KnobItem(const PanelState& state, int knob);  // knob 0..7, numbered from 1 on the wire
StateItem ParameterItem(int number, const ParamRecord& param);

// A string as the line protocol quotes it: in double quotes, with \" and \\.
std::string Quoted(const std::string& text);
// Text as a client reads it: valid UTF-8 (each byte of a broken sequence becomes '?') with
// every control byte a blank, so a unit's or a client's own words never end or bend a line.
std::string ClientText(const std::string& text);
// The item as the line protocol writes it, without a verb.
std::string ItemText(const StateItem& item);
