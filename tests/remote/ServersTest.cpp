// The servers on loopback sockets against actions that stand for the panel's: what a client
// may take of its host's account, what waits behind a command in hand, and what OSC answers.
#include <gtest/gtest.h>
#include <lo/lo.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QNetworkDatagram>
#include <QTcpSocket>
#include <QUdpSocket>
#include <cstdlib>
#include <functional>
#include <memory>

#include "platform/Clock.h"
#include "remote/LineProtocolServer.h"
#include "remote/OscServer.h"
#include "remote/RemoteLimits.h"
#include "remote/StateItems.h"
#include "tests/support/RunEventsUntil.h"

namespace {

constexpr int kPatience_ms = 2000;
constexpr int kQuiet_ms = 200;

// A desktop application: the seed replay runs the panel's actions, which ask it for a dialog.
class GuiApplication : public ::testing::Environment {
  public:
    void SetUp() override { m_app = std::make_unique<QGuiApplication>(m_argc, m_argv); }
    void TearDown() override { m_app.reset(); }

  private:
    int m_argc = 1;
    char m_name[16] = "vcp_test_remote";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QGuiApplication> m_app;
};
[[maybe_unused]] auto* const g_app = ::testing::AddGlobalTestEnvironment(new GuiApplication);

bool PumpUntil(const std::function<bool()>& done) {
    return RunEventsUntil(done, kPatience_ms, 1);
}

// The panel's actions as a client meets them: a turn may hold the line (the test's work runs
// in its wait, as the event loop turns) or be queued; units selected and turns are counted.
class PanelStandIn : public ControlActions {
  public:
    ActionOutcome TurnKnob(int, int, const ActionOrigin& origin) override {
        ++turns;
        origins.push_back(origin);
        if (whileHeld) {
            std::exchange(whileHeld, {})();
        }
        return queueTurns ? ActionOutcome::Queued() : ActionOutcome::Taken();
    }
    ActionOutcome DragKnob(int, int, const ActionOrigin&) override { return {}; }
    ActionOutcome PressKnobDisplay(int, const ActionOrigin&) override { return {}; }
    ActionOutcome PressMenuButton(int, const ActionOrigin&) override { return {}; }
    ActionOutcome PressFunctionButton(int, const ActionOrigin&) override { return {}; }
    ActionOutcome PressToggle(const std::string&, const ActionOrigin&) override { return {}; }
    ActionOutcome PressLabelled(const std::string& label, const ActionOrigin&) override {
        return ActionOutcome::Refused("No key \"" + label + "\".");
    }
    ActionOutcome SelectUnit(int, const ActionOrigin&) override {
        ++selects;
        return {};
    }
    ActionOutcome RecallMemory(int, const ActionOrigin&) override { return {}; }
    ActionOutcome StoreMemory(int, const ActionOrigin&) override { return {}; }
    ActionOutcome SetParameter(int, int, const ActionOrigin&) override { return {}; }

    int turns = 0;
    int selects = 0;
    std::function<void()> whileHeld;  // the line's wait, during which the event loop turns
    bool queueTurns = false;
    std::vector<ActionOrigin> origins;
};

class ServersTest : public ::testing::Test {
  protected:
    RemoteHooks Hooks() {
        return {&actions, [this] { return state; },
                [this](const std::string& text) { notes.push_back(text); },
                [this](const std::string& text) { problems.push_back(text); }};
    }
    ServerOptions Options() {
        ServerOptions options;
        options.allowList = ClientAllowList::Parse("127.0.0.0/8");
        options.accounts = accounts;
        return options;
    }
    bool Noted(const std::string& part) const {
        return std::any_of(notes.begin(), notes.end(), [&](const std::string& note) {
            return note.find(part) != std::string::npos;
        });
    }

    ScopedVirtualClock time{1000};
    PanelStandIn actions;
    PanelState state;
    std::vector<std::string> notes;
    std::vector<std::string> problems;
    std::shared_ptr<HostAccounts> accounts = std::make_shared<HostAccounts>();
};

struct LineClient {
    explicit LineClient(quint16 port, const char* from = "127.0.0.1") {
        socket.bind(QHostAddress(QString::fromLatin1(from)), 0);
        socket.connectToHost(QHostAddress::LocalHost, port);
        PumpUntil([&] { return socket.state() == QAbstractSocket::ConnectedState; });
    }
    void Send(const std::string& text) {
        socket.write(QByteArray::fromStdString(text));
        socket.flush();
    }
    std::string NextLine() {
        if (!PumpUntil([&] { return socket.canReadLine(); })) {
            return "(nothing)";
        }
        return socket.readLine().chopped(1).toStdString();
    }
    std::vector<std::string> Lines(size_t count) {
        std::vector<std::string> lines;
        while (lines.size() < count) {
            lines.push_back(NextLine());
            if (lines.back() == "(nothing)") {
                break;
            }
        }
        return lines;
    }
    bool Closed() {
        return PumpUntil([&] { return socket.state() == QAbstractSocket::UnconnectedState; });
    }
    QTcpSocket socket;
};

std::string Repeated(const std::string& line, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += line;
    }
    return text;
}

TEST_F(ServersTest, LineClientsShareTheirHostsAccountAsLinesArriveAndWaitInTurn) {
    LineProtocolServer server(Hooks(), Options());
    ASSERT_TRUE(server.Listen());
    LineClient client(server.Port());

    // While the first turn holds the line, 199 more arrive: the host's burst goes through in
    // order and the rest hear ERR in their places, not after the line has carried them all.
    actions.whileHeld = [&] {
        client.Send(Repeated("TURN 8 1\n", 199));
        PumpUntil([&] { return client.socket.bytesToWrite() == 0; });
        for (int turn = 0; turn < 50; ++turn) {  // loopback hands the server every byte
            QCoreApplication::processEvents();
        }
    };
    client.Send("TURN 8 1\n");
    const std::vector<std::string> answers = client.Lines(200);
    ASSERT_EQ(answers.size(), 200U);
    EXPECT_EQ(std::count(answers.begin(), answers.end(), "OK"), kCommandsPerSecond);
    EXPECT_EQ(answers.back(), "ERR " + TooManyCommandsReason());
    EXPECT_EQ(actions.turns, kCommandsPerSecond);

    // A new connection from the same host starts with what its host has left.
    LineClient second(server.Port());
    second.Send("LINK\n");
    EXPECT_EQ(second.NextLine(), "ERR " + TooManyCommandsReason());
    time.clock.Advance(1000);

    // QUIT ends the read; the 513-byte line hears the line's own limit.
    second.Send("LINK\n" + std::string(513, 'x') + "\nQUIT\nUNIT 2\n");
    EXPECT_EQ(second.Lines(3),
              (std::vector<std::string>{"OK ok", "ERR " + LineTooLongReason(), "OK bye"}));
    EXPECT_TRUE(second.Closed());
    EXPECT_EQ(actions.selects, 0);

    // Replies are UTF-8 with no control byte, whatever the unit's or the client's text holds.
    state.menuTitle = "KEY\tER\x1b\xff";
    client.Send("PRESS \"\xc3\x28\x01\"\nSUBSCRIBE\n");
    const std::vector<std::string> pushed = client.Lines(2 + AllStateItems(state).size());
    EXPECT_EQ(pushed[0], "ERR No key \"?( \".");
    EXPECT_NE(std::find(pushed.begin(), pushed.end(), "STATE title \"KEY ER ?\""), pushed.end());

    // A turn answered OK and refused when its turn came reaches its own client alone.
    actions.queueTurns = true;
    client.Send("TURN 1 1\n");
    EXPECT_EQ(client.NextLine(), "OK");
    server.ActionRefused(actions.origins.back(), "No unit is selected.");
    server.ActionRefused({ActionSource::Network, "tcp 127.0.0.1:1"}, "not yours");
    EXPECT_EQ(client.NextLine(), "REFUSED No unit is selected.");
}

TEST_F(ServersTest, LineClientsHoldSlotsPerHostAndAreClosedIdleOrFlooding) {
    LineProtocolServer server(Hooks(), Options());
    ASSERT_TRUE(server.Listen());
    std::vector<std::unique_ptr<LineClient>> clients;
    for (int i = 0; i < kMaxClientsPerHost; ++i) {
        clients.push_back(std::make_unique<LineClient>(server.Port()));
    }
    ASSERT_TRUE(PumpUntil([&] { return server.Clients().size() == kMaxClientsPerHost; }));
    LineClient oneTooMany(server.Port());
    EXPECT_EQ(oneTooMany.NextLine(), "ERR " + TooManyFromHostReason());
    LineClient otherHost(server.Port(), "127.0.0.2");
    EXPECT_TRUE(PumpUntil([&] { return server.Clients().size() == kMaxClientsPerHost + 1; }));

    // Quiet clients are closed after their time; a subscriber stays.
    clients[0]->Send("SUBSCRIBE\n");
    EXPECT_EQ(clients[0]->NextLine(), "OK subscribed");
    time.clock.Advance(kIdleClient_ms);
    LineClient late(server.Port(), "127.0.0.3");
    EXPECT_EQ(clients[1]->NextLine(), "ERR Closed: nothing heard for 300 s.");
    EXPECT_TRUE(clients[1]->Closed());
    EXPECT_TRUE(PumpUntil([&] { return server.Clients().size() == 2; }));

    // A client that floods while its command waits is dropped, its bytes never kept.
    actions.whileHeld = [&] {
        late.Send(std::string(kMaxWaitingInput + 4096, 'x'));
        EXPECT_TRUE(PumpUntil([&] { return Noted("dropped: it sent more than"); }));
    };
    late.Send("TURN 1 1\n");
    EXPECT_TRUE(late.Closed());

    // A port another server holds is said through the hook.
    ServerOptions taken = Options();
    taken.port = server.Port();
    LineProtocolServer second(Hooks(), taken);
    EXPECT_FALSE(second.Listen());
    ASSERT_EQ(problems.size(), 1U);
    EXPECT_EQ(
        problems[0].rfind(
            "TCP port " + std::to_string(server.Port()) + " on 127.0.0.1 cannot be opened: ", 0),
        0U);
}

struct OscClient {
    explicit OscClient(quint16 serverPort, const char* from = "127.0.0.1") : server(serverPort) {
        socket.bind(QHostAddress(QString::fromLatin1(from)), 0);
    }
    void Send(const char* path, std::initializer_list<int> ints = {}) {
        lo_message message = lo_message_new();
        for (int value : ints) {
            lo_message_add_int32(message, value);
        }
        size_t size = 0;
        void* bytes = lo_message_serialise(message, path, nullptr, &size);
        socket.writeDatagram(static_cast<const char*>(bytes), static_cast<qint64>(size),
                             QHostAddress::LocalHost, server);
        std::free(bytes);
        lo_message_free(message);
    }
    // The addresses of what came back within a short while.
    // A short look for what should not come.
    std::vector<std::string> Quiet() { return Heard(1, kQuiet_ms); }
    std::vector<std::string> Heard(size_t atLeast = 1, int limit_ms = kPatience_ms) {
        std::vector<std::string> paths;
        RunEventsUntil(
            [&] {
                while (socket.hasPendingDatagrams()) {
                    paths.push_back(socket.receiveDatagram().data().constData());
                }
                return paths.size() >= atLeast;
            },
            limit_ms, 1);
        return paths;
    }
    quint16 Port() const { return socket.localPort(); }
    quint16 server;
    QUdpSocket socket;
};

TEST_F(ServersTest, OscAnswersTheSenderOnceAndNeverAnAnswerOrItself) {
    OscServer server(Hooks(), Options());
    ASSERT_TRUE(server.Listen());
    OscClient listener(server.Port());
    OscClient sender(server.Port());

    // A subscribe naming the server's own port is refused, and nothing loops.
    sender.Send("/vcp/subscribe", {server.Port()});
    EXPECT_EQ(sender.Heard(), std::vector<std::string>{"/vcp/error"});
    EXPECT_TRUE(server.Clients().empty());

    // The subscription's pushes go to its port; answers to the sender's own.
    sender.Send("/vcp/subscribe", {listener.Port()});
    EXPECT_EQ(sender.Heard(), std::vector<std::string>{"/vcp/ok"});
    const size_t wholeState = AllStateItems(state).size();
    EXPECT_EQ(listener.Heard(wholeState).size(), wholeState);  // once a lease
    sender.Send("/vcp/subscribe", {listener.Port()});
    EXPECT_EQ(sender.Heard(), std::vector<std::string>{"/vcp/ok"});
    EXPECT_TRUE(listener.Quiet().empty());
    sender.Send("/vcp/link");
    EXPECT_EQ(sender.Heard(), std::vector<std::string>{"/vcp/ok"});
    EXPECT_TRUE(listener.Quiet().empty());

    // Answers, errors and pushed items are never answered.
    for (const char* path : {"/vcp/ok", "/vcp/error", "/vcp/state/unit"}) {
        sender.Send(path);
    }
    EXPECT_TRUE(sender.Quiet().empty());

    // Errors take the host's share too: past the rate, one says why and the rest are still.
    for (int i = 0; i < 2 * kCommandsPerSecond; ++i) {
        sender.Send("/vcp/nothing");
    }
    const std::vector<std::string> errors = sender.Heard(2 * kCommandsPerSecond, kQuiet_ms);
    EXPECT_LE(errors.size(), static_cast<size_t>(kCommandsPerSecond) + 1);

    // The lease runs out without a datagram from the subscriber's port.
    time.clock.Advance(kOscLease_ms);
    sender.Send("/vcp/link");
    EXPECT_EQ(sender.Heard(), std::vector<std::string>{"/vcp/ok"});
    EXPECT_TRUE(server.Clients().empty());
    EXPECT_TRUE(Noted("left: its lease ran out"));
}

TEST_F(ServersTest, AFullOscTableRenewsItsSubscribersAndRefusesNewOnesAsTheDocsSay) {
    OscServer server(Hooks(), Options());
    ASSERT_TRUE(server.Listen());
    std::vector<std::unique_ptr<OscClient>> subscribers;
    for (int i = 0; i < kMaxClients; ++i) {
        subscribers.push_back(std::make_unique<OscClient>(
            server.Port(), i < kMaxClientsPerHost ? "127.0.0.1" : "127.0.0.2"));
        subscribers.back()->Send("/vcp/subscribe");
    }
    ASSERT_TRUE(PumpUntil([&] { return server.Clients().size() == kMaxClients; }));
    OscClient late(server.Port(), "127.0.0.3");
    late.Send("/vcp/subscribe");
    EXPECT_EQ(late.Heard(), std::vector<std::string>{"/vcp/error"});
    // Subscribing again renews, full table or not, and outlives the first lease.
    subscribers[0]->Heard(AllStateItems(state).size() + 1);
    time.clock.Advance(kOscLease_ms / 2);
    subscribers[0]->Send("/vcp/subscribe");
    EXPECT_EQ(subscribers[0]->Heard(), std::vector<std::string>{"/vcp/ok"});
    time.clock.Advance(kOscLease_ms / 2);
    late.Send("/vcp/link");
    late.Heard();
    EXPECT_EQ(server.Clients().size(), 1U);
}

TEST(HostAccountsTest, ManyHostsNeverHandABusyHostAFreshBucket) {
    ScopedVirtualClock time;
    HostAccounts accounts;
    for (int i = 0; i < kCommandsPerSecond; ++i) {
        ASSERT_EQ(accounts.TakeCommand("127.0.0.1"), HostAccounts::Share::Taken);
    }
    EXPECT_EQ(accounts.TakeCommand("127.0.0.1"), HostAccounts::Share::Refused);
    EXPECT_EQ(accounts.TakeCommand("127.0.0.1"), HostAccounts::Share::RefusedAgain);
    for (int host = 0; host < 4 * static_cast<int>(kMostHosts); ++host) {
        accounts.TakeCommand("host " + std::to_string(host));
    }
    EXPECT_NE(accounts.TakeCommand("127.0.0.1"), HostAccounts::Share::Taken);
    time.clock.Advance(1000 / kCommandsPerSecond);
    EXPECT_EQ(accounts.TakeCommand("127.0.0.1"), HostAccounts::Share::Taken);
}

}  // namespace
