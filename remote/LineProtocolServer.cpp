#include "remote/LineProtocolServer.h"

#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <deque>
#include <optional>

#include "platform/Clock.h"
#include "remote/CommandRunner.h"
#include "remote/RemoteLimits.h"
#include "remote/StateItems.h"

namespace {

// Bytes read from one client in one turn of the event loop; the rest waits for the next.
constexpr qint64 kReadPerTurn = 16384;
// How often the clients are looked at for one that has been idle too long.
constexpr int kIdleCheck_ms = 5000;

// The peer's address, an IPv4 client as IPv4 also on a dual-stack socket.
std::string AddressOf(const QTcpSocket& socket) {
    QHostAddress address = socket.peerAddress();
    bool isIPv4 = false;
    const quint32 ipv4 = address.toIPv4Address(&isIPv4);
    if (isIPv4) {
        address = QHostAddress(ipv4);
    }
    return address.toString().toStdString();
}

std::string NameOf(const QTcpSocket& socket) {
    return "tcp " + AddressOf(socket) + ":" + std::to_string(socket.peerPort());
}

}  // namespace

enum class LineProtocolServer::Refusal : uint8_t { LineTooLong, TooManyCommands, TooManyWaiting };

struct LineProtocolServer::Waiting {
    ParsedCommand parsed;
    std::optional<std::string> answer;  // a change handed to the panel early, answered
    std::vector<Refusal> refusedAfter;
};

struct LineProtocolServer::Client {
    uint64_t id = 0;
    std::unique_ptr<QTcpSocket, void (*)(QTcpSocket*)> socket{nullptr, nullptr};
    std::string name;
    std::string host;  // its account's name
    std::string input;
    bool discarding = false;  // the rest of a line too long to take
    bool reading = false;
    bool running = false;  // one of its commands is in hand
    // The lines taken, the one in hand first, each with the refusals that came after it: a
    // refused line is answered as soon as the lines before it are.
    std::deque<Waiting> waiting;
    size_t inputWhileRunning = 0;  // bytes read while its command waits
    bool quitting = false;         // QUIT taken: nothing after it runs
    bool gone = false;
    uint32_t lastHeard_ms = 0;
    bool subscribed = false;
    std::optional<PanelState> sent;
};

LineProtocolServer::LineProtocolServer(RemoteHooks hooks, ServerOptions options, QObject* parent)
    : QObject(parent),
      m_hooks(std::move(hooks)),
      m_options(std::move(options)),
      m_pacer([this] { Push(); }, this) {
    m_server.setMaxPendingConnections(kMaxClients);
    connect(&m_server, &QTcpServer::newConnection, this, &LineProtocolServer::Accept);
    connect(&m_idleCheck, &QTimer::timeout, this, &LineProtocolServer::CloseIdle);
    m_idleCheck.start(kIdleCheck_ms);
}

LineProtocolServer::~LineProtocolServer() {
    for (const auto& client : m_clients) {
        client->socket->disconnect(this);
        if (!client->gone) {
            m_options.accounts->ReturnSlot(client->host);
        }
    }
}

bool LineProtocolServer::Listen() {
    if (m_server.listen(m_options.address, m_options.port)) {
        return true;
    }
    if (m_hooks.cannotListen) {
        m_hooks.cannotListen(ListenProblem("TCP", m_options, Error()));
    }
    return false;
}

std::vector<std::string> LineProtocolServer::Clients() const {
    std::vector<std::string> names;
    for (const auto& client : m_clients) {
        if (!client->gone) {
            names.push_back(client->name + (client->subscribed ? " (subscribed)" : ""));
        }
    }
    return names;
}

int LineProtocolServer::ActiveClients() const {
    return static_cast<int>(std::count_if(m_clients.begin(), m_clients.end(),
                                          [](const auto& client) { return !client->gone; }));
}

LineProtocolServer::Client* LineProtocolServer::Find(uint64_t id) const {
    const auto found = std::find_if(m_clients.begin(), m_clients.end(),
                                    [id](const auto& client) { return client->id == id; });
    return found == m_clients.end() || (*found)->gone ? nullptr : found->get();
}

void LineProtocolServer::Accept() {
    CloseIdle();
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        const std::string name = NameOf(*socket);
        if (!m_options.allowList.Allows(socket->peerAddress())) {
            Refuse(socket, AddressOf(*socket) + " is not on this panel's allow-list.");
            m_hooks.note(name + " refused: not on the allow-list");
            continue;
        }
        if (ActiveClients() >= kMaxClients) {
            Refuse(socket, TooManyClientsReason());
            m_hooks.note(name + " refused: too many clients");
            continue;
        }
        const std::string host = AddressOf(*socket);
        if (!m_options.accounts->TakeSlot(host)) {
            Refuse(socket, TooManyFromHostReason());
            m_hooks.note(name + " refused: too many clients from its host");
            continue;
        }
        socket->setParent(nullptr);
        auto client = std::make_unique<Client>();
        client->id = m_nextId++;
        client->socket = {socket, [](QTcpSocket* s) { s->deleteLater(); }};
        client->name = name;
        client->host = host;
        client->lastHeard_ms = CurrentClock().TickCount();
        const uint64_t id = client->id;
        connect(socket, &QTcpSocket::readyRead, this, [this, id] { Read(id); });
        connect(socket, &QTcpSocket::disconnected, this, [this, id] {
            if (Client* left = Find(id)) {
                Leave(*left, left->name + " left");
            }
        });
        m_clients.push_back(std::move(client));
        m_hooks.note(name + " connected");
    }
}

// The refused client reads why, then the connection closes.
void LineProtocolServer::Refuse(QTcpSocket* socket, const std::string& why) {
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    socket->write(QByteArray::fromStdString(RemoteAnswer::Error(why).Line() + "\n"));
    socket->disconnectFromHost();
}

void LineProtocolServer::Read(uint64_t id) {
    Client* client = Find(id);
    // Qt does not tell of more bytes while this read goes on.
    if (client == nullptr || client->reading) {
        return;
    }
    client->reading = true;
    ++m_depth;
    qint64 budget = kReadPerTurn;
    char chunk[1024];
    while (!client->gone && budget > 0 && client->socket->bytesAvailable() > 0) {
        const qint64 count = client->socket->read(chunk, std::min<qint64>(budget, sizeof chunk));
        if (count <= 0) {
            break;
        }
        budget -= count;
        if (client->running) {
            client->inputWhileRunning += static_cast<size_t>(count);
            if (client->inputWhileRunning > kMaxWaitingInput) {
                Drop(*client, "it sent more than " + std::to_string(kMaxWaitingInput) +
                                  " bytes while its command waited");
                break;
            }
        }
        Take(*client, chunk, static_cast<size_t>(count));
    }
    client->reading = false;
    --m_depth;
    if (!client->gone && client->socket->bytesAvailable() > 0) {
        QTimer::singleShot(0, this, [this, id] { Read(id); });
    }
    RunSoon(*client);
    if (m_depth == 0 && std::any_of(m_clients.begin(), m_clients.end(),
                                    [](const auto& each) { return each->gone; })) {
        SweepSoon();
    }
}

void LineProtocolServer::Take(Client& client, const char* bytes, size_t count) {
    for (size_t i = 0; i < count && !client.gone; ++i) {
        const char c = bytes[i];
        if (c == '\n') {
            if (client.discarding) {
                client.discarding = false;
            } else {
                Arrive(client, std::exchange(client.input, {}));
            }
        } else if (!client.discarding) {
            client.input += c;
            if (client.input.size() > kMaxLineLength + 1) {  // room for a CR before the end
                client.input.clear();
                client.discarding = true;
                Refuse(client, Refusal::LineTooLong);
            }
        }
    }
}

// A line as it arrives: it takes its share of the host's account now, and waits its turn
// behind the client's earlier lines; what cannot be taken is answered at once.
void LineProtocolServer::Arrive(Client& client, std::string line) {
    if (client.quitting) {
        return;
    }
    client.lastHeard_ms = CurrentClock().TickCount();
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    if (line.size() > kMaxLineLength) {
        Refuse(client, Refusal::LineTooLong);
        return;
    }
    if (m_options.accounts->TakeCommand(client.host) != HostAccounts::Share::Taken) {
        Refuse(client, Refusal::TooManyCommands);
        return;
    }
    if (client.waiting.size() >= kMaxWaitingCommands) {
        Refuse(client, Refusal::TooManyWaiting);
        return;
    }
    ParsedCommand parsed = ParseCommandLine(line);
    client.quitting = parsed.command && parsed.command->verb == Verb::Quit;
    client.waiting.push_back({std::move(parsed), std::nullopt, {}});
    HandOverEarly(client);
}

// While the client's command waits for the line, a change behind it that only changes
// follow goes to the panel now: the panel queues it behind that command, in its order, and
// sums turns of one knob, so a client that spins a knob is answered at once rather than
// exchange by exchange. Its answer still waits for the one in hand. A read waits its turn,
// and so does everything behind it, so it reads the panel as the changes before it left it.
void LineProtocolServer::HandOverEarly(Client& client) {
    if (!client.running || client.waiting.size() < 2) {
        return;
    }
    const bool onlyChangesBefore =
        std::all_of(client.waiting.begin() + 1, client.waiting.end() - 1,
                    [](const Waiting& each) { return each.answer.has_value(); });
    Waiting& last = client.waiting.back();
    if (!onlyChangesBefore || !last.parsed.command || !ChangesThePanel(last.parsed.command->verb)) {
        return;
    }
    last.answer = Answered(client, *last.parsed.command).Line();
}

RemoteAnswer LineProtocolServer::Answered(Client& client, const RemoteCommand& command) {
    const PanelState state = m_hooks.currentState();
    return RunCommand(
        command,
        {*m_hooks.actions, state, {ActionSource::Network, client.name}, m_options.readOnly});
}

void LineProtocolServer::Refuse(Client& client, Refusal refusal) {
    if (client.waiting.empty()) {
        WriteRefusal(client, refusal);
    } else {
        client.waiting.back().refusedAfter.push_back(refusal);
    }
}

void LineProtocolServer::WriteRefusal(Client& client, Refusal refusal) {
    std::string why;
    switch (refusal) {
        case Refusal::LineTooLong:
            why = LineTooLongReason();
            break;
        case Refusal::TooManyCommands:
            why = TooManyCommandsReason();
            break;
        case Refusal::TooManyWaiting:
            why = "At most " + std::to_string(kMaxWaitingCommands) +
                  " commands of a client wait for the line: this one is not taken.";
            break;
    }
    Write(client, RemoteAnswer::Error(why).Line());
}

// The waiting lines run from the event loop rather than inside a read, so that the client's
// further bytes are read, and refused or kept, while a command waits for the line.
void LineProtocolServer::RunSoon(Client& client) {
    if (!client.gone && !client.running && !client.waiting.empty()) {
        const uint64_t id = client.id;
        QTimer::singleShot(0, this, [this, id] { RunWaiting(id); });
    }
}

void LineProtocolServer::RunWaiting(uint64_t id) {
    Client* client = Find(id);
    if (client == nullptr || client->running) {
        return;
    }
    ++m_depth;
    client->running = true;
    // Reading stops at the bound while a command waits; the rest stays with the system.
    client->socket->setReadBufferSize(static_cast<qint64>(kMaxWaitingInput));
    while (!client->gone && !client->waiting.empty()) {
        const ParsedCommand parsed = client->waiting.front().parsed;
        client->inputWhileRunning = 0;
        if (const std::optional<std::string> answer = client->waiting.front().answer) {
            Write(*client, *answer);
        } else {
            RunLine(*client, parsed);
        }
        if (client->gone) {
            break;
        }
        // Lines read while it ran keep their places behind it.
        const std::vector<Refusal> refused = std::move(client->waiting.front().refusedAfter);
        client->waiting.pop_front();
        for (const Refusal refusal : refused) {
            WriteRefusal(*client, refusal);
        }
    }
    client->running = false;
    if (!client->gone) {
        client->socket->setReadBufferSize(0);
        if (client->socket->bytesAvailable() > 0) {
            QTimer::singleShot(0, this, [this, id] { Read(id); });
        }
    }
    --m_depth;
    if (m_depth == 0 && client->gone) {
        SweepSoon();
    }
}

void LineProtocolServer::RunLine(Client& client, const ParsedCommand& parsed) {
    if (!parsed.command) {
        Write(client, RemoteAnswer::Error(parsed.error).Line());
        return;
    }
    const RemoteCommand& command = *parsed.command;
    const RemoteAnswer answer = Answered(client, command);
    if (client.gone) {
        return;
    }
    Write(client, answer.Line());
    if (command.verb == Verb::Subscribe) {
        Subscribe(client);
    } else if (command.verb == Verb::Unsubscribe) {
        client.subscribed = false;
        client.sent.reset();
    } else if (command.verb == Verb::Quit) {
        client.socket->disconnectFromHost();
    }
}

void LineProtocolServer::ActionRefused(const ActionOrigin& origin, const std::string& reason) {
    if (origin.source != ActionSource::Network) {
        return;
    }
    for (const auto& client : m_clients) {
        if (!client->gone && client->name == origin.client) {
            Write(*client, ClientText("REFUSED " + reason));
        }
    }
}

// A new subscriber hears the whole state at once, then its changes.
void LineProtocolServer::Subscribe(Client& client) {
    client.subscribed = true;
    client.sent.reset();
    SendChanges(client, m_hooks.currentState());
}

// The items of `state` the client has not heard yet, as STATE lines in one write.
void LineProtocolServer::SendChanges(Client& client, const PanelState& state) {
    std::string lines;
    for (const StateItem& item : ChangedStateItems(client.sent, state)) {
        lines += (lines.empty() ? "" : "\n") + ClientText("STATE " + ItemText(item));
    }
    client.sent = state;
    if (!lines.empty()) {
        Write(client, lines);
    }
}

void LineProtocolServer::Write(Client& client, const std::string& text) {
    if (client.gone) {
        return;
    }
    client.socket->write(QByteArray::fromStdString(text + "\n"));
    if (client.socket->bytesToWrite() > static_cast<qint64>(kMaxPendingOutput)) {
        Drop(client, "it stopped reading");
    }
}

void LineProtocolServer::Drop(Client& client, const std::string& why) {
    Leave(client, client.name + " dropped: " + why);
    client.socket->abort();
}

// The client leaves the list once no read is under way; its host has the slot back now.
void LineProtocolServer::Leave(Client& client, const std::string& note) {
    if (client.gone) {
        return;
    }
    client.gone = true;
    client.waiting.clear();
    m_options.accounts->ReturnSlot(client.host);
    m_hooks.note(note);
    SweepSoon();
}

void LineProtocolServer::CloseIdle() {
    const uint32_t now_ms = CurrentClock().TickCount();
    for (const auto& client : m_clients) {
        if (!client->gone && !client->subscribed && !client->running && client->waiting.empty() &&
            now_ms - client->lastHeard_ms >= kIdleClient_ms) {
            Write(*client, RemoteAnswer::Error("Closed: nothing heard for " +
                                               std::to_string(kIdleClient_ms / 1000) + " s.")
                               .Line());
            Leave(*client, client->name + " closed: idle");
            client->socket->disconnectFromHost();
        }
    }
}

void LineProtocolServer::StateChanged(const PanelState& state) {
    m_latest = state;
    if (std::any_of(m_clients.begin(), m_clients.end(),
                    [](const auto& client) { return client->subscribed && !client->gone; })) {
        m_pacer.Changed();
    }
}

void LineProtocolServer::Push() {
    for (const auto& client : m_clients) {
        if (client->subscribed && !client->gone) {
            SendChanges(*client, m_latest);
        }
    }
}

void LineProtocolServer::SweepSoon() {
    if (!m_sweepQueued) {
        m_sweepQueued = true;
        QTimer::singleShot(0, this, &LineProtocolServer::Sweep);
    }
}

void LineProtocolServer::Sweep() {
    m_sweepQueued = false;
    if (m_depth > 0) {
        return;  // the outermost read sweeps when it is done
    }
    std::erase_if(m_clients, [this](const auto& client) {
        if (client->gone) {
            client->socket->disconnect(this);
        }
        return client->gone;
    });
}
