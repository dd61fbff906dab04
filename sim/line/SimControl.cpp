#include "sim/line/SimControl.h"

#include <sstream>
#include <vector>

#include "sim/line/SimLine.h"

namespace {

using Args = std::vector<std::string>;

struct Command {
    const char* name;
    const char* usage;
    const char* help;
    size_t minArgs;
    ControlResult (*run)(SimLine& line, const Args& args, const std::string& rest);
};

ControlResult Fail(const std::string& why) {
    return {.ok = false, .reply = why};
}

// Decimal, or hexadecimal after "0x".
bool ParseNumber(const std::string& text, long& value) {
    if (text.empty()) {
        return false;
    }
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    try {
        size_t used = 0;
        value = std::stol(hex ? text.substr(2) : text, &used, hex ? 16 : 10);
        return used == text.size() - (hex ? 2 : 0);
    } catch (...) {
        return false;
    }
}

bool Number(const std::string& text, long low, long high, long& value) {
    return ParseNumber(text, value) && value >= low && value <= high;
}

bool OnOff(const std::string& text, bool& on) {
    on = text == "on";
    return on || text == "off";
}

SimUnit* UnitArg(SimLine& line, const std::string& text, std::string& why) {
    long number = 0;
    if (!Number(text, 1, kMaxUnits, number)) {
        why = "unit must be 1..4, got \"" + text + "\"";
        return nullptr;
    }
    SimUnit* unit = line.Unit(static_cast<int>(number));
    if (!unit) {
        why = "no unit " + text + " on the line";
    }
    return unit;
}

// Runs `action` on the unit named by args[0], or fails with the reason.
template <typename Action>
ControlResult OnUnit(SimLine& line, const Args& args, Action action) {
    std::string why;
    SimUnit* unit = UnitArg(line, args[0], why);
    return unit ? action(*unit) : Fail(why);
}

ControlResult SetValue(SimLine& line, const Args& args, const std::string&) {
    return OnUnit(line, args, [&](SimUnit& unit) {
        long number = 0;
        long value = 0;
        if (!Number(args[1], 0, 255, number) || !Number(args[2], -32768, 65535, value)) {
            return Fail("expected a parameter 0..255 and a value");
        }
        if (!unit.IsDefined(static_cast<int>(number))) {
            return Fail("model has no parameter " + args[1]);
        }
        unit.ChangeLocally(static_cast<int>(number), static_cast<int>(value));
        return ControlResult{.reply =
                                 "value " + std::to_string(unit.Value(static_cast<int>(number)))};
    });
}

ControlResult SetReference(SimLine& line, const Args& args, const std::string&) {
    return OnUnit(line, args, [&](SimUnit& unit) {
        long number = 0;
        long value = 0;
        if (!Number(args[1], 0, 255, number) || !Number(args[2], -32768, 65535, value)) {
            return Fail("expected a parameter 0..255 and a value");
        }
        unit.SetReference(static_cast<int>(number), static_cast<int>(value));
        return ControlResult{};
    });
}

ControlResult PostMessage(SimLine& line, const Args& args, const std::string& rest) {
    return OnUnit(line, args, [&](SimUnit& unit) {
        long number = 0;
        if (!Number(args[1], 0, 255, number)) {
            return Fail("message number must be 0..255");
        }
        unit.PostMessage(static_cast<uint8_t>(number), rest);
        return ControlResult{};
    });
}

ControlResult SetFlag(SimLine& line, const Args& args, const std::string&) {
    return OnUnit(line, args, [&](SimUnit& unit) {
        static const std::vector<std::pair<std::string, UnitFlag>> flags = {
            {"indicator", kUnitIndicator},
            {"busy", kUnitBusy},
            {"boot", kUnitBootMode},
            {"refvideo", kUnitReferenceVideo},
        };
        bool on = false;
        if (!OnOff(args[2], on)) {
            return Fail("expected on or off");
        }
        for (const auto& [name, flag] : flags) {
            if (args[1] == name) {
                if (flag == kUnitBusy) {
                    unit.SetBusy(on);
                } else {
                    unit.SetFlag(flag, on);
                }
                return ControlResult{};
            }
        }
        return Fail("unknown flag " + args[1]);
    });
}

ControlResult SetPower(SimLine& line, const Args& args, const std::string&) {
    return OnUnit(line, args, [&](SimUnit& unit) {
        bool on = false;
        if (!OnOff(args[1], on)) {
            return Fail("expected on or off");
        }
        unit.SetPower(on);
        return ControlResult{};
    });
}

ControlResult ShowMenu(SimLine& line, const Args& args, const std::string&) {
    return OnUnit(line, args, [&](SimUnit& unit) {
        long menu = 0;
        if (!Number(args[1], 0, 63, menu)) {
            return Fail("menu must be 0..63");
        }
        unit.ShowMenu(static_cast<uint8_t>(menu));
        return ControlResult{};
    });
}

ControlResult SetSettings(SimLine& line, const Args& args, const std::string& rest) {
    return OnUnit(line, args, [&](SimUnit& unit) {
        unit.SetSettingsLabel(rest);
        return ControlResult{};
    });
}

ControlResult SetFault(SimLine& line, const Args& args, const std::string&) {
    FaultSet* faults = nullptr;
    std::string why;
    if (args[0] == "line") {
        faults = &line.LineFaults();
    } else if (SimUnit* unit = UnitArg(line, args[0], why)) {
        faults = &unit->Faults();
    } else {
        return Fail(why);
    }
    if (args[1] == "clear") {
        faults->ClearAll();
        return ControlResult{};
    }
    const std::optional<FaultKind> kind = FaultByName(args[1]);
    if (!kind) {
        return Fail("unknown fault " + args[1]);
    }
    long argument = 0;
    long answers = FaultSet::kUntilCleared;
    for (const FaultInfo& info : FaultCatalog()) {
        if (info.kind == *kind) {
            argument = info.defaultArgument;
        }
    }
    if (args.size() > 2 && !Number(args[2], 0, 0xFFFFFF, argument)) {
        return Fail("fault argument must be a number");
    }
    if (args.size() > 3 && !Number(args[3], 1, 1000000, answers)) {
        return Fail("answer count must be 1 or more");
    }
    faults->Set(*kind, static_cast<uint32_t>(argument), static_cast<int>(answers));
    return ControlResult{};
}

ControlResult SetDelay(SimLine& line, const Args& args, const std::string&) {
    long delay = 0;
    if (!Number(args[0], 0, 60000, delay)) {
        return Fail("delay must be 0..60000 ms");
    }
    line.SetAnswerDelay(static_cast<uint32_t>(delay));
    return ControlResult{};
}

ControlResult AddUnit(SimLine& line, const Args& args, const std::string&) {
    long number = 0;
    long model = 0;
    if (!Number(args[0], 1, kMaxUnits, number) || !Number(args[1], 0, 255, model) ||
        !line.AddUnit(static_cast<int>(number), static_cast<int>(model))) {
        return Fail("expected a unit 1..4 and a known model code");
    }
    return ControlResult{};
}

ControlResult RemoveUnit(SimLine& line, const Args& args, const std::string&) {
    long number = 0;
    if (!Number(args[0], 1, kMaxUnits, number)) {
        return Fail("unit must be 1..4");
    }
    line.RemoveUnit(static_cast<int>(number));
    return ControlResult{};
}

ControlResult Show(SimLine& line, const Args& args, const std::string&) {
    return OnUnit(line, args, [&](SimUnit& unit) {
        std::ostringstream text;
        text << "unit " << unit.Number() << " model " << int(unit.Model().code) << " power "
             << (unit.Powered() ? "on" : "off") << " flags 0x" << std::hex << int(unit.Flags())
             << std::dec << " message " << int(unit.MessageNumber()) << " menu "
             << int(unit.UnitMenu()) << " faults " << unit.Faults().Describe() << " replies";
        for (const auto& [kind, value] : unit.Replies()) {
            text << " " << int(kind) << ":" << int(value);
        }
        // Values asked for after the unit: "show 1 0 114" adds " 0=512 114=25".
        for (size_t i = 1; i < args.size(); ++i) {
            long number = 0;
            if (!Number(args[i], 0, 255, number) || !unit.IsDefined(static_cast<int>(number))) {
                return Fail("model has no parameter " + args[i]);
            }
            text << " " << number << "=" << unit.Value(static_cast<int>(number));
        }
        return ControlResult{.reply = text.str()};
    });
}

ControlResult Wait(SimLine&, const Args& args, const std::string&) {
    long wait = 0;
    if (!Number(args[0], 0, 3600000, wait)) {
        return Fail("wait must be 0..3600000 ms");
    }
    ControlResult result;
    result.wait_ms = static_cast<uint32_t>(wait);
    return result;
}

ControlResult Help(SimLine&, const Args&, const std::string&) {
    return ControlResult{.reply = ControlHelpText()};
}

ControlResult Quit(SimLine&, const Args&, const std::string&) {
    ControlResult result;
    result.quit = true;
    return result;
}

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"set", "set UNIT PARAM VALUE", "change a value on the unit itself", 3, SetValue},
        {"ref", "ref UNIT PARAM VALUE", "set a reference value", 3, SetReference},
        {"message", "message UNIT NUMBER [TEXT]", "post a message (100, 255: with TEXT)", 2,
         PostMessage},
        {"flag", "flag UNIT indicator|busy|boot|refvideo on|off", "set a status flag", 3, SetFlag},
        {"power", "power UNIT on|off", "switch a unit off or on", 2, SetPower},
        {"menu", "menu UNIT NUMBER", "the unit shows another menu", 2, ShowMenu},
        {"settings", "settings UNIT TEXT", "set the settings label", 1, SetSettings},
        {"fault", "fault UNIT|line NAME|clear [ARG] [ANSWERS]", "switch a fault on (see below)", 2,
         SetFault},
        {"delay", "delay MS", "delay every answer by MS", 1, SetDelay},
        {"add", "add UNIT MODEL", "put a unit of MODEL on the line", 2, AddUnit},
        {"remove", "remove UNIT", "take a unit off the line", 1, RemoveUnit},
        {"show", "show UNIT [PARAM...]", "print a unit's state and values", 1, Show},
        {"wait", "wait MS", "pause a script", 1, Wait},
        {"help", "help", "print this list", 0, Help},
        {"quit", "quit", "stop serving", 0, Quit},
    };
    return commands;
}

// The text after the first `count` words of `line`.
std::string RestAfter(const std::string& line, size_t count) {
    std::istringstream in(line);
    std::string word;
    for (size_t i = 0; i < count && in >> word; ++i) {
    }
    std::string rest;
    std::getline(in, rest);
    const size_t first = rest.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : rest.substr(first);
}

}  // namespace

std::string ControlHelpText() {
    std::string text;
    for (const Command& command : Commands()) {
        std::string usage = command.usage;
        usage.resize(std::max<size_t>(usage.size() + 2, 48), ' ');
        text += "  " + usage + command.help + "\n";
    }
    text += "Faults:\n";
    for (const FaultInfo& info : FaultCatalog()) {
        std::string name = info.name;
        name.resize(14, ' ');
        text += "  " + name + info.help + " (ARG " + std::to_string(info.defaultArgument) + ")\n";
    }
    return text;
}

ControlResult SimControl::Execute(const std::string& commandLine) {
    std::istringstream in(commandLine);
    std::string name;
    if (!(in >> name) || name[0] == '#') {
        return {};
    }
    Args args;
    for (std::string word; in >> word;) {
        args.push_back(word);
    }
    for (const Command& command : Commands()) {
        if (name != command.name) {
            continue;
        }
        if (args.size() < command.minArgs) {
            return Fail(std::string("usage: ") + command.usage);
        }
        // Free text starts after the unit and, for messages, the number.
        const size_t textStart = name == "message" ? 3 : 2;
        return command.run(m_line, args, RestAfter(commandLine, textStart));
    }
    return Fail("unknown command " + name + " (try help)");
}
