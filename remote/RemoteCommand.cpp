#include "remote/RemoteCommand.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

#include "remote/RemoteLimits.h"

namespace {

struct Words {
    std::vector<std::string> words;
    std::string error;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Splits a line into words; a quoted word keeps its blanks and its escapes are undone.
Words SplitWords(std::string_view line) {
    Words result;
    size_t at = 0;
    while (at < line.size()) {
        if (IsBlank(line[at])) {
            ++at;
            continue;
        }
        std::string word;
        if (line[at] != '"') {
            while (at < line.size() && !IsBlank(line[at])) {
                word += line[at++];
            }
            result.words.push_back(std::move(word));
            continue;
        }
        ++at;
        bool closed = false;
        while (at < line.size()) {
            const char c = line[at++];
            if (c == '"') {
                closed = true;
                break;
            }
            if (c == '\\' && at < line.size()) {
                word += line[at++];
            } else {
                word += c;
            }
        }
        if (!closed) {
            result.error = "A quoted word has no closing quote.";
            return result;
        }
        result.words.push_back(std::move(word));
    }
    return result;
}

std::string Upper(std::string_view word) {
    std::string upper(word);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

struct VerbName {
    const char* name;
    Verb verb;
    size_t minWords;  // after the verb
    size_t maxWords;
    const char* usage;
};

constexpr size_t kRest = 64;  // a label takes the rest of the line

constexpr std::array<VerbName, 17> kVerbs = {{
    {"HELP", Verb::Help, 0, 0, "HELP"},
    {"UNIT", Verb::SelectUnit, 0, 1, "UNIT [n]"},
    {"TURN", Verb::TurnKnob, 2, 2, "TURN knob delta"},
    {"SET", Verb::SetRaw, 2, 2, "SET parameter value"},
    {"SETSHOWN", Verb::SetShown, 2, 2, "SETSHOWN parameter shown-value"},
    {"PRESS", Verb::PressLabel, 1, kRest, "PRESS label | PRESS MENU n | PRESS FUNCTION n"},
    {"STORE", Verb::Store, 1, 1, "STORE memory"},
    {"RECALL", Verb::Recall, 1, 1, "RECALL memory"},
    {"GET", Verb::ReadParameter, 1, 1, "GET parameter"},
    {"KNOB", Verb::ReadKnob, 1, 1, "KNOB knob"},
    {"TITLE", Verb::ReadTitle, 0, 0, "TITLE"},
    {"ONLINE", Verb::ReadOnLine, 0, 0, "ONLINE"},
    {"LINK", Verb::ReadLink, 0, 0, "LINK"},
    {"LAMPS", Verb::ReadLamps, 0, 0, "LAMPS"},
    {"SUBSCRIBE", Verb::Subscribe, 0, 0, "SUBSCRIBE"},
    {"UNSUBSCRIBE", Verb::Unsubscribe, 0, 0, "UNSUBSCRIBE"},
    {"QUIT", Verb::Quit, 0, 0, "QUIT"},
}};

ParameterRef ParameterNamed(const std::string& word) {
    if (const std::optional<int> number = WireNumber(word)) {
        return {*number, {}};
    }
    return {-1, word};
}

std::string NotANumber(const std::string& word) {
    return "\"" + word + "\" is not a number (whole numbers up to " +
           std::to_string(kMaxWireNumber) + " either way).";
}

// Fills in the command's arguments from the words after its verb.
ParsedCommand WithArguments(RemoteCommand command, const std::vector<std::string>& args) {
    const auto number = [&](size_t at, int& into) {
        const std::optional<int> value = WireNumber(args[at]);
        if (value) {
            into = *value;
        }
        return value.has_value();
    };
    switch (command.verb) {
        case Verb::SelectUnit:
            if (args.empty()) {
                command.verb = Verb::ReadUnit;
            } else if (!number(0, command.number)) {
                return ParsedCommand::Error(NotANumber(args[0]));
            }
            break;
        case Verb::TurnKnob:
            if (!number(0, command.number)) {
                return ParsedCommand::Error(NotANumber(args[0]));
            }
            if (!number(1, command.amount)) {
                return ParsedCommand::Error(NotANumber(args[1]));
            }
            break;
        case Verb::SetRaw:
            command.parameter = ParameterNamed(args[0]);
            if (!number(1, command.amount)) {
                return ParsedCommand::Error(NotANumber(args[1]));
            }
            break;
        case Verb::SetShown:
            command.parameter = ParameterNamed(args[0]);
            command.text = args[1];
            break;
        case Verb::ReadParameter:
            command.parameter = ParameterNamed(args[0]);
            break;
        case Verb::Store:
        case Verb::Recall:
        case Verb::ReadKnob:
            if (!number(0, command.number)) {
                return ParsedCommand::Error(NotANumber(args[0]));
            }
            break;
        case Verb::PressLabel: {
            const std::string first = Upper(args[0]);
            if (args.size() == 2 && (first == "MENU" || first == "FUNCTION")) {
                if (const std::optional<int> button = WireNumber(args[1])) {
                    command.verb = first == "MENU" ? Verb::PressMenu : Verb::PressFunction;
                    command.number = *button;
                    break;
                }
            }
            for (const std::string& word : args) {
                command.text += (command.text.empty() ? "" : " ") + word;
            }
            break;
        }
        default:
            break;
    }
    return {command, {}};
}

}  // namespace

bool ChangesThePanel(Verb verb) {
    switch (verb) {
        case Verb::SelectUnit:
        case Verb::TurnKnob:
        case Verb::SetRaw:
        case Verb::SetShown:
        case Verb::PressMenu:
        case Verb::PressFunction:
        case Verb::PressLabel:
        case Verb::Store:
        case Verb::Recall:
            return true;
        default:
            return false;
    }
}

std::optional<int> WireNumber(std::string_view word) {
    if (word.size() > 1 && word.front() == '+' && word[1] != '-') {
        word.remove_prefix(1);
    }
    long long value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, fault] = std::from_chars(word.data(), end, value);
    if (word.empty() || fault != std::errc{} || stop != end || value > kMaxWireNumber ||
        value < -kMaxWireNumber) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

ParsedCommand ParseCommandLine(std::string_view line) {
    if (line.size() > kMaxLineLength) {
        return ParsedCommand::Error("A command holds at most " + std::to_string(kMaxLineLength) +
                                    " bytes.");
    }
    Words split = SplitWords(line);
    if (!split.error.empty()) {
        return ParsedCommand::Error(split.error);
    }
    if (split.words.empty()) {
        return ParsedCommand::Error("An empty line is no command; HELP lists them.");
    }
    const std::string verb = Upper(split.words.front());
    const auto found = std::find_if(kVerbs.begin(), kVerbs.end(),
                                    [&](const VerbName& entry) { return verb == entry.name; });
    if (found == kVerbs.end()) {
        return ParsedCommand::Error("No command \"" + split.words.front() + "\"; HELP lists them.");
    }
    const std::vector<std::string> args(split.words.begin() + 1, split.words.end());
    if (args.size() < found->minWords || args.size() > found->maxWords) {
        return ParsedCommand::Error(std::string("Usage: ") + found->usage);
    }
    return WithArguments({found->verb}, args);
}

std::string CommandSummary() {
    std::string summary;
    for (const VerbName& entry : kVerbs) {
        summary += (summary.empty() ? "" : "; ") + std::string(entry.usage);
    }
    return summary;
}
