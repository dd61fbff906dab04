#include "fuzz/remote/RemoteChecks.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <array>
#include <string_view>
#include <utility>
#include <vector>

#include "console/HardKeys.h"
#include "console/PanelActions.h"
#include "console/PanelConsole.h"
#include "fuzz/FuzzLink.h"
#include "fuzz/SilentView.h"
#include "protocol/ParameterArguments.h"
#include "remote/CommandRunner.h"
#include "remote/OscCommand.h"

namespace {

using fuzz_link::FuzzLink;
using fuzz_link::UnitPeer;

constexpr const char* kLineName = "remote";
constexpr uint8_t kFullModel = 11;
constexpr uint8_t kCompactModel = 4;  // the compact family, with the bypass in its custom menus

const ActionOrigin kClient{ActionSource::Network, "tcp 127.0.0.1:5000"};

// A window that shows nothing and notes the first thing a press reached beyond the unit's
// values: a dialog, a box, the port setup or FILE CLEAR.
class WatchingView final : public SilentView {
  public:
    void ShowHardKey(int key, bool lit) override {
        if (key < 0 || key >= kStateToggles) {
            return;
        }
        m_lit[key] = lit;
        if (lit && key == HardKeyOf(ToggleKind::FileClear, 0)) {
            Reach("pressed FILE CLEAR");
        }
    }
    bool HardKeyLit(int key) const override {
        return key >= 0 && key < kStateToggles && m_lit[key];
    }
    void ShowMessageBox(const std::string&) override { Reach("opened a box"); }
    int AskOkCancel(const std::string&) override {
        Reach("asked the operator");
        return 2;
    }
    std::optional<PanelDialogResult> RunDialog(int kind, int) override {
        Reach("opened dialog " + std::to_string(kind));
        return std::nullopt;
    }
    std::optional<int> RunPortSetup(int) override {
        Reach("opened the port setup");
        return std::nullopt;
    }

    const std::string& Reached() const { return m_reached; }

  private:
    void Reach(const std::string& what) {
        if (m_reached.empty()) {
            m_reached = what;
        }
    }

    std::array<bool, kStateToggles> m_lit{};
    std::string m_reached;
};

// The panel's actions, counted on their way through.
class CountingActions final : public ControlActions {
  public:
    explicit CountingActions(ControlActions& panel) : m_panel(panel) {}

    ActionOutcome TurnKnob(int knob, int delta, const ActionOrigin& origin) override {
        return Counted().TurnKnob(knob, delta, origin);
    }
    ActionOutcome DragKnob(int knob, int deflection, const ActionOrigin& origin) override {
        return Counted().DragKnob(knob, deflection, origin);
    }
    ActionOutcome PressKnobDisplay(int knob, const ActionOrigin& origin) override {
        return Counted().PressKnobDisplay(knob, origin);
    }
    ActionOutcome PressMenuButton(int button, const ActionOrigin& origin) override {
        return Counted().PressMenuButton(button, origin);
    }
    ActionOutcome PressFunctionButton(int button, const ActionOrigin& origin) override {
        return Counted().PressFunctionButton(button, origin);
    }
    ActionOutcome PressToggle(const std::string& label, const ActionOrigin& origin) override {
        return Counted().PressToggle(label, origin);
    }
    ActionOutcome PressLabelled(const std::string& label, const ActionOrigin& origin) override {
        return Counted().PressLabelled(label, origin);
    }
    ActionOutcome SelectUnit(int unit, const ActionOrigin& origin) override {
        return Counted().SelectUnit(unit, origin);
    }
    ActionOutcome RecallMemory(int memory, const ActionOrigin& origin) override {
        return Counted().RecallMemory(memory, origin);
    }
    ActionOutcome StoreMemory(int memory, const ActionOrigin& origin) override {
        return Counted().StoreMemory(memory, origin);
    }
    ActionOutcome SetParameter(int number, int value, const ActionOrigin& origin) override {
        return Counted().SetParameter(number, value, origin);
    }
    ActionOutcome SetFoundParameter(std::function<ParameterChange()> find,
                                    const ActionOrigin& origin) override {
        return Counted().SetFoundParameter(std::move(find), origin);
    }

    int Calls() const { return m_calls; }

  private:
    ControlActions& Counted() {
        ++m_calls;
        return m_panel;
    }

    ControlActions& m_panel;
    int m_calls = 0;
};

// The panel's actions run on the window's thread and ask the desktop for an open dialog: a
// desktop application without a screen.
void MakeApplication() {
    static int argc = 1;
    static char name[] = "remote_checks";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        static QGuiApplication application(argc, argv);
    }
}

ParamRecord Parameter(int number, int flags, int16_t least, int16_t most, const char* name) {
    ParamRecord record;
    record.number = number;
    record.flags = flags;
    record.rawMin = record.dispMin = least;
    record.rawMax = record.dispMax = most;
    record.name = name;
    return record;
}

// Unit 1 selected with its menus loaded: the first menu leads to a plain menu and to every
// kind of menu that stands for a dialog, shows two functions, and its knobs and the plain
// menu's show a stepped parameter, one with an empty range and a time code.
void LoadUnit(PanelConsole& console, uint8_t model) {
    g_unitStatus[kStatusByteModel] = model;
    constexpr int kPlainMenu = 2;
    // Named as a client presses them by caption (the seeds do).
    const std::pair<int, const char*> targets[] = {
        {kPlainMenu, "WIPE"},      {kOutputRoutingMenu, "OUTPUTS"}, {kGpiMenu, "GPI"},
        {kLockoutMenu, "LOCKOUT"}, {kMonitorMenu, "MONITOR"},       {kInputRoutingMenu, "INPUTS"}};
    MenuRecord& first = g_menuTable[0];
    first.title = "KEYER";
    for (size_t n = 0; n < std::size(targets); ++n) {
        const auto [menu, name] = targets[n];
        first.entry[n + 1] = static_cast<int16_t>(menu);
        MenuRecord& target = g_menuTable[menu];
        target.title = target.shortName = name;
        target.flags = menu == kPlainMenu ? 0 : kFlagMenuOpensDialog;
    }
    const int16_t parameters[] = {20, 21, 22};
    g_paramTable[20] = Parameter(20, kFlagStepped, 0, 15, "Softness");
    g_paramTable[21] = Parameter(21, 0, 0, 0, "Frame Time");
    g_paramTable[22] = Parameter(22, kFlagTimecode, 0, 0, "Duration");
    for (const int menu : {0, kPlainMenu}) {
        for (size_t knob = 0; knob < std::size(parameters); ++knob) {
            g_menuTable[menu].knobParam[knob] = parameters[knob];
        }
    }
    for (int function = 1; function <= 2; ++function) {
        FunctionRecord& record = g_functionTable[function];
        record.number = kFirstFunctionNumber + function;
        record.maxValue = 1;
        record.label = function == 1 ? "KEY" : "CLIP";
        first.entry[g_panelModel.MenuButtonCount() + function - 1] =
            static_cast<int16_t>(record.number);
    }
    g_panelModel.m_currentMenu[console.SelectedUnit()] = 0;
    console.RefreshMenu();
}

struct Desk {
    uint8_t model;
    bool altLit;  // the operator's ALT, lit before the client's first command
    bool readOnly;
};
constexpr Desk kDesks[] = {
    {kFullModel, false, false}, {kCompactModel, true, false}, {kFullModel, true, true}};

// The commands run at one desk; empty when the checks hold, else what broke.
std::string RunAtDesk(const std::vector<ParsedCommand>& commands, const Desk& desk) {
    MakeApplication();
    UnitPeer unit(desk.model, true);
    const FuzzLink link(kLineName, unit, [] {});
    WatchingView view;
    PanelConsole console(view);
    PanelActions panel(console);
    LoadUnit(console, desk.model);
    if (desk.altLit) {
        console.FlipAttributeLatch();
    }
    const size_t requestsBefore = unit.Requests();
    CountingActions actions(panel);
    for (const ParsedCommand& parsed : commands) {
        const int callsBefore = actions.Calls();
        RemoteAnswer answer = RemoteAnswer::Error(parsed.error);
        if (parsed.command) {
            const PanelState state = panel.CurrentState();
            answer = RunCommand(*parsed.command, {actions, state, kClient, desk.readOnly});
        }
        const std::string line = answer.Line();
        const bool oneLine = line.find_first_of("\r\n") == std::string::npos &&
                             (line.rfind("OK", 0) == 0 || line.rfind("ERR", 0) == 0);
        if (!oneLine) {
            return "the answer is not one line: " + line;
        }
        if (!parsed.command && actions.Calls() != callsBefore) {
            return "a command that did not parse called an action";
        }
    }
    // What the commands left in the window's queue runs too.
    QCoreApplication::processEvents();
    if (!view.Reached().empty()) {
        return "a client " + view.Reached();
    }
    if (desk.readOnly && actions.Calls() != 0) {
        return "a read-only client called an action";
    }
    if (desk.readOnly && unit.Requests() != requestsBefore) {
        return "a read-only client sent on the line";
    }
    return {};
}

bool Holds(const std::vector<ParsedCommand>& commands, std::string* why) {
    for (const Desk& desk : kDesks) {
        if (std::string broken = RunAtDesk(commands, desk); !broken.empty()) {
            if (why != nullptr) {
                *why = std::move(broken);
            }
            return false;
        }
    }
    return true;
}

}  // namespace

bool CheckCommandLine(const uint8_t* data, size_t size, std::string* why) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<ParsedCommand> commands;
    for (size_t start = 0; start <= text.size() && commands.size() < kMostCheckedLines;) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        // The server takes a CR before the end of the line as part of the end.
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        commands.push_back(ParseCommandLine(line));
        start = end + 1;
    }
    return Holds(commands, why);
}

bool CheckOscPacket(const uint8_t* data, size_t size, std::string* why) {
    return Holds({DecodeOscPacket(data, size)}, why);
}
