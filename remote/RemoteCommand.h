#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/OptionLabels.h"

// The commands a network client sends, one model for both transports: the line protocol's
// text and an OSC message both become a RemoteCommand, and one runner carries it out.
// Knobs, buttons, units and memories are numbered from 1 as printed; parameters keep the
// unit's own numbers.

enum class Verb {
    Help,
    SelectUnit,  // UNIT n (UNIT alone reads the selected unit)
    ReadUnit,
    TurnKnob,       // TURN knob delta
    SetRaw,         // SET parameter raw
    SetShown,       // SETSHOWN parameter shown (the display's units)
    PressMenu,      // PRESS MENU n
    PressFunction,  // PRESS FUNCTION n
    PressLabel,     // PRESS label: a hard key, or a menu or function button by its caption
    Store,          // STORE m
    Recall,         // RECALL m
    ReadParameter,  // GET parameter
    ReadKnob,       // KNOB k
    ReadTitle,
    ReadOnLine,
    ReadLink,
    ReadLamps,
    Subscribe,
    Unsubscribe,
    Quit,
};

// A parameter named by its number or by its name.
struct ParameterRef {
    int number = -1;   // -1 when named
    std::string name;  // empty when numbered
};

struct RemoteCommand {
    Verb verb = Verb::Help;
    int number = 0;  // the knob, button, unit or memory; a subscriber's reply port
    int amount = 0;  // a knob's delta, a raw value
    ParameterRef parameter;
    std::string text;  // a key's label, a shown value
};

// A command, or why the text is not one.
struct ParsedCommand {
    std::optional<RemoteCommand> command;
    std::string error;

    static ParsedCommand Error(std::string why) { return {std::nullopt, std::move(why)}; }
};

// Whether the command changes what the panel or a unit holds: refused in read-only mode.
bool ChangesThePanel(Verb verb);

// One line of the line protocol, without its end of line. Words are separated by blanks; a
// word in double quotes may hold blanks, \" and \\. Verbs are matched without regard to case.
ParsedCommand ParseCommandLine(std::string_view line);

// A whole number within +-kMaxWireNumber, all of `word`.
std::optional<int> WireNumber(std::string_view word);

// The text HELP answers: every verb in one line.
std::string CommandSummary();
