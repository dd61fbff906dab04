// Network control end to end: clients on real loopback sockets, the line protocol on TCP and
// OSC through liblo, against the panel on the in-process line of simulated units.
#include <gtest/gtest.h>
#include <lo/lo.h>

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "console/PanelActions.h"
#include "controls/CInfoBar.h"
#include "dialogs/CRemoteDialog.h"
#include "link/LineDemand.h"
#include "panel/PanelRemote.h"
#include "platform/WindowWait.h"
#include "protocol/Commands.h"
#include "remote/ClientAllowList.h"
#include "remote/LineProtocolServer.h"
#include "remote/OscServer.h"
#include "remote/ShownValue.h"
#include "remote/StateItems.h"
#include "tests/panel/InfoLineFits.h"
#include "tests/panel/PanelStoryTest.h"
#include "tests/support/RunEventsUntil.h"

namespace {

constexpr uint8_t kSetParameter = 0xA8;
constexpr uint8_t kRecallMemory3 = 218;
constexpr int kPatience_ms = 2000;

// Turns the event loop until `done` holds, at most two seconds; whether it came to hold.
bool PumpUntil(const std::function<bool()>& done) {
    return RunEventsUntil(done, kPatience_ms);
}

struct LineClient {
    explicit LineClient(quint16 port) { socket.connectToHost(QHostAddress::LocalHost, port); }

    std::string NextLine() {
        if (!PumpUntil([&] { return socket.canReadLine(); })) {
            return "(nothing)";
        }
        return socket.readLine().trimmed().toStdString();
    }
    // The answer to `command`; lines pushed meanwhile go to `pushed`.
    std::string Ask(const std::string& command) {
        socket.write(QByteArray::fromStdString(command + "\n"));
        for (;;) {
            std::string line = NextLine();
            if (line.rfind("STATE ", 0) != 0) {
                return line;
            }
            pushed.push_back(std::move(line));
        }
    }
    // Waits for a pushed line that `wanted` accepts.
    bool Pushed(const std::function<bool(const std::string&)>& wanted) {
        return PumpUntil([&] {
            while (socket.canReadLine()) {
                pushed.push_back(socket.readLine().trimmed().toStdString());
            }
            return std::any_of(pushed.begin(), pushed.end(), wanted);
        });
    }
    bool Pushed(const std::string& line) {
        return Pushed([&](const std::string& each) { return each == line; });
    }

    QTcpSocket socket;
    std::vector<std::string> pushed;
};

// An OSC client: messages written by liblo, on a UDP socket of its own on loopback.
struct OscClient {
    struct Heard {
        std::string path;
        std::vector<std::string> args;  // numbers as decimal text
    };

    explicit OscClient(quint16 serverPort) : port(serverPort) {
        socket.bind(QHostAddress::LocalHost, 0);
    }
    void Send(const char* path, lo_message message) {
        size_t size = 0;
        void* bytes = lo_message_serialise(message, path, nullptr, &size);
        socket.writeDatagram(static_cast<const char*>(bytes), static_cast<qint64>(size),
                             QHostAddress::LocalHost, port);
        std::free(bytes);
        lo_message_free(message);
    }
    void Take() {
        while (socket.hasPendingDatagrams()) {
            QByteArray data = socket.receiveDatagram().data();
            int result = 0;
            lo_message message = lo_message_deserialise(data.data(), data.size(), &result);
            ASSERT_NE(message, nullptr);
            Heard entry{data.constData(), {}};
            const char* types = lo_message_get_types(message);
            for (int i = 0; i < lo_message_get_argc(message); ++i) {
                const lo_arg* arg = lo_message_get_argv(message)[i];
                // Arguments lie four bytes apart, short of the union's alignment.
                const char* bytes = reinterpret_cast<const char*>(arg);
                int32_t number = 0;
                std::memcpy(&number, bytes, sizeof number);
                entry.args.push_back(types[i] == LO_INT32 ? std::to_string(number) : bytes);
            }
            heard.push_back(std::move(entry));
            lo_message_free(message);
        }
    }
    // Waits for a message to `path` whose arguments start with `args`.
    bool Hears(const std::string& path, const std::vector<std::string>& args = {}) {
        return PumpUntil([&] {
            Take();
            return std::any_of(heard.begin(), heard.end(), [&](const Heard& h) {
                return h.path == path && h.args.size() >= args.size() &&
                       std::equal(args.begin(), args.end(), h.args.begin());
            });
        });
    }

    quint16 port;
    QUdpSocket socket;
    std::vector<Heard> heard;
};

lo_message Ints(std::initializer_list<int> values) {
    lo_message message = lo_message_new();
    for (int value : values) {
        lo_message_add_int32(message, value);
    }
    return message;
}

lo_message Strings(const std::string& text, std::optional<int> then = std::nullopt) {
    lo_message message = lo_message_new();
    lo_message_add_string(message, text.c_str());
    if (then) {
        lo_message_add_int32(message, *then);
    }
    return message;
}

// Hears the panel's state as the servers and the surface do.
class Follower : public PanelStateListener {
  public:
    explicit Follower(std::function<void(const PanelState&)> told) : m_told(std::move(told)) {}
    void OnPanelState(const PanelState& state) override { m_told(state); }
    void OnActionRefused(const ActionOrigin&, const std::string&) override {}

  private:
    std::function<void(const PanelState&)> m_told;
};

class NetworkControlTest : public PanelStoryTest {
  protected:
    void TearDown() override {
        remote.reset();
        PanelStoryTest::TearDown();
    }
    static RemoteSettings OnLoopback() {
        RemoteSettings settings;
        settings.enabled = true;
        settings.tcpPort = 0;
        settings.oscPort = 0;
        return settings;
    }
    void StartRemote(const RemoteSettings& settings = OnLoopback()) {
        remote = std::make_unique<PanelRemote>(*panel);
        ASSERT_EQ(remote->Apply(settings), "");
        ASSERT_NE(remote->Lines(), nullptr);
        ASSERT_NE(remote->Osc(), nullptr);
    }
    quint16 TcpPort() const { return remote->Lines()->Port(); }
    quint16 OscPort() const { return remote->Osc()->Port(); }
    std::string InfoLine() const { return panel->InfoBar()->Message(); }
    const std::string& NameOf(int param) const { return g_paramTable[param].name; }

    std::unique_ptr<PanelRemote> remote;
};

TEST_F(NetworkControlTest, ALineClientDrivesTheUnitAndFollowsItsOwnChanges) {
    // Off until the settings turn it on.
    remote = std::make_unique<PanelRemote>(*panel);
    EXPECT_EQ(remote->Lines(), nullptr);
    StartRemote();
    EXPECT_NE(InfoLine().find("Network control: on, TCP 127.0.0.1:"), std::string::npos);

    LineClient client(TcpPort());
    ASSERT_TRUE(PumpUntil([&] { return InfoLine().find(" connected") != std::string::npos; }));
    EXPECT_EQ(client.Ask("TURN 1 1"), "ERR No unit is selected.");
    EXPECT_EQ(client.Ask("UNIT 1"), "OK");
    EXPECT_EQ(panel->SelectedUnit(), 1);
    line.TakeWritten();

    const int start = Unit(1).Value(0);
    EXPECT_EQ(client.Ask("TURN 1 3"), "OK");
    EXPECT_EQ(Unit(1).Value(0), start + 3);
    EXPECT_EQ(client.Ask("SET " + Quoted(NameOf(0)) + " 500"), "OK 500");
    EXPECT_EQ(Unit(1).Value(0), 500);
    EXPECT_EQ(client.Ask("GET 0").rfind("OK param 0 " + Quoted(NameOf(0)) + " 500 ", 0), 0U);

    // In the display's units: the unit ends on a value whose display reads the same.
    ParamRecord shown = g_paramTable[0];
    shown.value = 700;
    const std::string text = ShownValueText(shown);
    EXPECT_EQ(client.Ask("SETSHOWN 0 " + text).rfind("OK ", 0), 0U);
    shown.value = static_cast<int16_t>(Unit(1).Value(0));
    EXPECT_EQ(ShownValueText(shown), text);

    line.TakeWritten();
    EXPECT_EQ(client.Ask("PRESS mem 3"), "OK");
    EXPECT_TRUE(Contains(SentRequests(), {kSetParameter, kRecallMemory3, 0}));
    EXPECT_EQ(client.Ask("PRESS FILE CLEAR"),
              "ERR FILE CLEAR clears the unit's files: press it on the panel.");
    EXPECT_EQ(client.Ask("TURN 9 1"), "ERR Knob 9 does not exist: they are numbered 1 to 8.");
    EXPECT_EQ(client.Ask("PRESS NOTHING"), "ERR The panel shows no key or button \"NOTHING\".");
    EXPECT_EQ(client.Ask("LINK"), "OK ok");
    EXPECT_EQ(client.Ask("ONLINE"), "OK 1 2 3 4");
    EXPECT_NE(client.Ask("LAMPS").find("\"UNIT 1\""), std::string::npos);

    // A subscriber hears the whole state, then the unit's own change with the next poll.
    EXPECT_EQ(client.Ask("SUBSCRIBE"), "OK subscribed");
    ASSERT_TRUE(client.Pushed("STATE unit 1"));
    EXPECT_EQ(remote->Clients().at(0).find("(subscribed)") != std::string::npos, true);
    client.pushed.clear();
    Unit(1).ChangeLocally(0, 100);
    RunPollTicks(1);
    ASSERT_TRUE(client.Pushed([](const std::string& l) {
        return l.rfind("STATE knob 1 1 0 ", 0) == 0 && l.find(" 100 ") != std::string::npos;
    }));
    // Only what changed: the unit line does not come again.
    EXPECT_EQ(std::count(client.pushed.begin(), client.pushed.end(), "STATE unit 1"), 0);

    client.socket.disconnectFromHost();
    EXPECT_TRUE(PumpUntil([&] { return InfoLine().find(" left") != std::string::npos; }));
    EXPECT_TRUE(PumpUntil([&] { return remote->Clients().empty(); }));
}

TEST_F(NetworkControlTest, AnOscClientDrivesTheUnitAndFollowsItsOwnChanges) {
    StartRemote();
    OscClient client(OscPort());
    client.Send("/vcp/subscribe", lo_message_new());
    ASSERT_TRUE(client.Hears("/vcp/ok", {"subscribed"}));
    ASSERT_TRUE(client.Hears("/vcp/state/unit", {"0"}));

    client.Send("/vcp/unit", Ints({1}));
    ASSERT_TRUE(client.Hears("/vcp/state/unit", {"1"}));
    line.TakeWritten();
    const int start = Unit(1).Value(0);
    client.Send("/vcp/turn", Ints({1, 2}));
    EXPECT_TRUE(PumpUntil([&] { return Unit(1).Value(0) == start + 2; }));
    client.Send("/vcp/set", Strings(NameOf(0), 300));
    EXPECT_TRUE(PumpUntil([&] { return Unit(1).Value(0) == 300; }));
    client.Send("/vcp/press", Strings("MEM 3"));
    std::vector<std::vector<uint8_t>> sent;
    EXPECT_TRUE(PumpUntil([&] {
        for (auto& request : SentRequests()) {
            sent.push_back(std::move(request));
        }
        return Contains(sent, {kSetParameter, kRecallMemory3, 0});
    }));
    client.Send("/vcp/turn", Ints({9, 1}));
    EXPECT_TRUE(client.Hears("/vcp/error", {"Knob 9 does not exist: they are numbered 1 to 8."}));
    client.Send("/vcp/jump", lo_message_new());
    EXPECT_TRUE(client.Hears("/vcp/error"));

    Unit(1).ChangeLocally(0, 100);
    RunPollTicks(1);
    EXPECT_TRUE(client.Hears("/vcp/state/knob", {"1", "1", "0", NameOf(0), "100"}));
    EXPECT_EQ(remote->Clients().size(), 1U);
}

TEST_F(NetworkControlTest, ReadOnlyServersReadAndRefuseChangesAndStrangersAreTurnedAway) {
    RemoteSettings settings = OnLoopback();
    settings.readOnly = true;
    StartRemote(settings);
    Select(1);
    const int start = Unit(1).Value(0);
    LineClient reader(TcpPort());
    EXPECT_EQ(reader.Ask("TURN 1 1"), "ERR read-only: this server takes reads and SUBSCRIBE only.");
    EXPECT_EQ(reader.Ask("UNIT 2"), "ERR read-only: this server takes reads and SUBSCRIBE only.");
    EXPECT_EQ(reader.Ask("UNIT"), "OK 1");
    EXPECT_EQ(reader.Ask("SUBSCRIBE"), "OK subscribed");
    OscClient osc(OscPort());
    osc.Send("/vcp/turn", Ints({1, 1}));
    EXPECT_TRUE(osc.Hears("/vcp/error"));
    EXPECT_EQ(Unit(1).Value(0), start);
    EXPECT_EQ(panel->SelectedUnit(), 1);

    // Bounded input: a line too long, and more commands than a second takes.
    EXPECT_EQ(reader.Ask(std::string(600, 'x')), "ERR A line holds at most 512 bytes.");
    EXPECT_EQ(reader.Ask("UNIT"), "OK 1");
    std::string burst;
    for (int i = 0; i < 60; ++i) {
        burst += "LINK\n";
    }
    reader.socket.write(QByteArray::fromStdString(burst));
    std::vector<std::string> answers;
    for (int i = 0; i < 60; ++i) {
        answers.push_back(reader.NextLine());
    }
    EXPECT_EQ(answers.back(), "ERR Too many commands: at most 50 a second.");

    // A client that stops reading is dropped once its answers pile up, not waited for.
    LineClient deaf(TcpPort());
    deaf.socket.setReadBufferSize(1);
    ASSERT_TRUE(PumpUntil([&] { return remote->Clients().size() == 2; }));
    const QByteArray flood = QByteArray("LINK\n").repeated(150000);
    deaf.socket.write(flood);
    EXPECT_TRUE(PumpUntil(
        [&] { return InfoLine().find("dropped: it stopped reading") != std::string::npos; }));
    // The reader's second has passed: it is answered again.
    time.clock.Advance(1000);
    EXPECT_EQ(reader.Ask("UNIT"), "OK 1");

    // The allow-list takes addresses and subnets, an IPv4 client on a dual-stack socket too;
    // an empty one lets in loopback alone.
    // Subnets and single addresses, of either family; a mapped address counts as its own.
    const ClientAllowList subnet = ClientAllowList::Parse("127.0.0.0/24, ::1");
    EXPECT_TRUE(subnet.Allows(QHostAddress("127.0.0.1")));
    EXPECT_TRUE(subnet.Allows(QHostAddress("::ffff:127.0.0.1")));
    EXPECT_TRUE(subnet.Allows(QHostAddress("::1")));
    const ClientAllowList single = ClientAllowList::Parse("::1");
    EXPECT_TRUE(single.Allows(QHostAddress("::1")));
    EXPECT_FALSE(single.Allows(QHostAddress("127.0.0.1")));
    EXPECT_TRUE(ClientAllowList::Parse("").Allows(QHostAddress("127.0.0.1")));
    EXPECT_TRUE(ClientAllowList::Parse("").Allows(QHostAddress("::1")));

    // A client outside the allow-list hears why and is closed.
    settings.allowList = "::1";
    ASSERT_EQ(remote->Apply(settings), "");
    LineClient stranger(TcpPort());
    EXPECT_EQ(stranger.NextLine(), "ERR 127.0.0.1 is not on this panel's allow-list.");
    EXPECT_TRUE(
        PumpUntil([&] { return stranger.socket.state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_NE(InfoLine().find("refused"), std::string::npos);
}

TEST_F(NetworkControlTest, TheMenuOpensTheSettingsWhichKeepWhatDoesNotReadAndLastAcrossRuns) {
    StartRemote();
    // The panel's context menu has the entry, and says that network control is on.
    QStringList entries;
    QTimer::singleShot(50, [&] {
        if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (const QAction* action : popup->actions()) {
                entries << action->text();
            }
            popup->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), QPoint(5, 5));
    QApplication::sendEvent(panel.get(), &event);
    EXPECT_TRUE(entries.contains(QStringLiteral("Network control...")));
    EXPECT_TRUE(entries.contains(QStringLiteral("Network control is on: 0 clients")));

    CRemoteDialog dialog(remote->Settings(), remote->StatusText(), &PanelRemote::SettingsProblem);
    auto* allow = dialog.findChild<QLineEdit*>(QStringLiteral("allowEdit"));
    auto* readOnly = dialog.findChild<QCheckBox*>(QStringLiteral("readOnlyCheck"));
    ASSERT_NE(allow, nullptr);
    allow->setText(QStringLiteral("127.0.0.1, studio-hub"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.Problem(), "Allowed clients: \"studio-hub\" is no address or subnet.");
    allow->setText(QStringLiteral("127.0.0.1 ::1/128"));
    readOnly->setChecked(true);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    // What the dialog keeps, the next run starts with.
    StoreRemoteSettings(dialog.Settings());
    remote = std::make_unique<PanelRemote>(*panel);
    EXPECT_TRUE(remote->Settings().readOnly);
    EXPECT_EQ(remote->Settings().allowList, "127.0.0.1 ::1/128");
    ASSERT_NE(remote->Lines(), nullptr);
    LineClient client(remote->Lines()->Port());
    EXPECT_EQ(client.Ask("UNIT 1"), "ERR read-only: this server takes reads and SUBSCRIBE only.");
    StoreRemoteSettings(RemoteSettings{});
}

// A unit's own change reaches the panel's followers as the answer that carries it lands: the
// rest of the read and of the tick (the settings text, the lamps) would hold it back for
// longer than a push interval.
TEST_F(NetworkControlTest, AUnitsOwnChangeIsToldAsTheAnswerCarryingItLands) {
    Select(1);
    std::vector<std::vector<uint8_t>> askedWhenTold;
    Follower follower([&](const PanelState& state) {
        if (askedWhenTold.empty() && state.knobs[0].value == 100) {
            askedWhenTold = RequestsIn(line.Written());
        }
    });
    panel->Actions().AddListener(&follower);
    Unit(1).ChangeLocally(0, 100);
    RunPollTicks(1);
    QCoreApplication::processEvents();
    panel->Actions().RemoveListener(&follower);
    ASSERT_FALSE(askedWhenTold.empty());
    EXPECT_EQ(askedWhenTold.back(),
              std::vector<uint8_t>{static_cast<uint8_t>(Command::ReadParameterValues)});
}

// A port another program holds leaves its server off: the line says so in a few words
// whenever it has nothing of its own to say, the settings say why, until settings that bind.
TEST_F(NetworkControlTest, APortThatCannotBeBoundStaysOnTheInformationLineUntilItIsFixed) {
    QTcpServer holder;
    ASSERT_TRUE(holder.listen(QHostAddress::LocalHost, 0));
    RemoteSettings settings = OnLoopback();
    settings.tcpPort = holder.serverPort();
    StoreRemoteSettings(settings);
    remote = std::make_unique<PanelRemote>(*panel);
    const std::string tcp = std::to_string(holder.serverPort());
    const std::string problem = "Network control: cannot open TCP port " + tcp + ".";
    EXPECT_EQ(InfoLine(), problem);
    EXPECT_TRUE(MessageFitsTheLine(*panel->InfoBar())) << InfoLine();
    EXPECT_NE(remote->StatusText().find("TCP port " + tcp + " on 127.0.0.1 cannot be opened: "),
              std::string::npos);

    // The unit's own words come first; once they are done the problem is back.
    Select(1);
    Unit(1).PostMessage(100, "Fan failure");
    RunPollTicks(1);
    EXPECT_EQ(InfoLine(), "Fan failure");
    EXPECT_TRUE(RunPollTicksUntil([&] { return InfoLine() != "Fan failure"; }));
    EXPECT_EQ(InfoLine(), problem);
    EXPECT_EQ(panel->Actions().CurrentState().infoLine, problem);

    // Both servers' ports held: the settings name both, and the line's words fit it whole.
    QUdpSocket oscHolder;
    ASSERT_TRUE(oscHolder.bind(QHostAddress::LocalHost, 0));
    settings.oscPort = oscHolder.localPort();
    EXPECT_EQ(remote->Apply(settings), "Network control: cannot open TCP and OSC ports.");
    EXPECT_NE(remote->StatusText().find("OSC port " + std::to_string(settings.oscPort)),
              std::string::npos);
    panel->Console().ShowMessage("Network control: cannot open TCP port 65535.");
    EXPECT_TRUE(MessageFitsTheLine(*panel->InfoBar())) << InfoLine();

    // Fixed: the ports are free and the settings are applied again.
    holder.close();
    oscHolder.close();
    StoreRemoteSettings(settings);
    remote = std::make_unique<PanelRemote>(*panel);
    ASSERT_NE(remote->Lines(), nullptr);
    ASSERT_NE(remote->Osc(), nullptr);
    EXPECT_EQ(InfoLine().find("cannot open"), std::string::npos) << InfoLine();
    panel->Console().ShowMessage(g_idleText);
    EXPECT_EQ(InfoLine(), "");
    StoreRemoteSettings(RemoteSettings{});
}

TEST_F(NetworkControlTest, AnActionInsideAWaitClaimsTheLineUntilItHasRun) {
    Select(1);
    PanelActions& actions = panel->Actions();
    const ActionOrigin client{ActionSource::Network, "tcp 127.0.0.1:5555"};
    const int start = Unit(1).Value(0);
    bool claimed = false;
    WindowWait::Until([&] {
        EXPECT_TRUE(actions.TurnKnob(0, 2, client).taken);
        EXPECT_FALSE(actions.TurnKnob(8, 1, client).taken);
        claimed = LineDemand::Raised();
        return true;
    });
    EXPECT_TRUE(claimed);
    ASSERT_TRUE(PumpUntil([&] { return !LineDemand::Raised(); }));
    EXPECT_EQ(Unit(1).Value(0), start + 2);
    // Outside a wait nothing is claimed: the action runs at once.
    EXPECT_TRUE(actions.TurnKnob(0, 1, client).taken);
    EXPECT_FALSE(LineDemand::Raised());
    EXPECT_EQ(Unit(1).Value(0), start + 3);
}

TEST_F(NetworkControlTest, AQueuedCommandRefusedWhenItsTurnComesTellsItsClient) {
    StartRemote();
    LineClient client(TcpPort());
    ASSERT_TRUE(PumpUntil([&] { return InfoLine().find(" connected") != std::string::npos; }));
    const ActionOrigin origin{ActionSource::Network,
                              "tcp 127.0.0.1:" + std::to_string(client.socket.localPort())};
    WindowWait::Until([&] {
        EXPECT_TRUE(panel->Actions().PressMenuButton(0, origin).queued);
        return true;
    });
    EXPECT_TRUE(client.Pushed("REFUSED No unit is selected."));
}

}  // namespace
