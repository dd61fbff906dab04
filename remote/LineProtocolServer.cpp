#include "remote/LineProtocolServer.h"

#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

#include "remote/CommandRunner.h"
#include "remote/RateLimiter.h"
#include "remote/RemoteLimits.h"
#include "remote/StateItems.h"

namespace {

// Bytes read from one client in one turn of the event loop; the rest waits for the next.
constexpr qint64 kReadPerTurn = 16384;

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

struct LineProtocolServer::Client {
    uint64_t id = 0;
    std::unique_ptr<QTcpSocket, void (*)(QTcpSocket*)> socket{nullptr, nullptr};
    std::string name;
    std::string input;
    bool discarding = false;  // the rest of a line too long to take
    bool reading = false;
    bool gone = false;
    RateLimiter limiter;
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
}

LineProtocolServer::~LineProtocolServer() {
    for (const auto& client : m_clients) {
        client->socket->disconnect(this);
    }
}

bool LineProtocolServer::Listen() {
    return m_server.listen(m_options.address, m_options.port);
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
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        const std::string name = NameOf(*socket);
        if (!m_options.allowList.Allows(socket->peerAddress())) {
            Refuse(socket, AddressOf(*socket) + " is not on this panel's allow-list.");
            m_hooks.note(name + " refused: not on the allow-list");
            continue;
        }
        if (ActiveClients() >= kMaxClients) {
            Refuse(socket,
                   "The panel takes at most " + std::to_string(kMaxClients) + " clients at once.");
            m_hooks.note(name + " refused: too many clients");
            continue;
        }
        socket->setParent(nullptr);
        auto client = std::make_unique<Client>();
        client->id = m_nextId++;
        client->socket = {socket, [](QTcpSocket* s) { s->deleteLater(); }};
        client->name = name;
        const uint64_t id = client->id;
        connect(socket, &QTcpSocket::readyRead, this, [this, id] { Read(id); });
        connect(socket, &QTcpSocket::disconnected, this, [this, id] {
            if (Client* left = Find(id)) {
                left->gone = true;
                m_hooks.note(left->name + " left");
                SweepSoon();
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
    // A read that an action's wait interrupted goes on once that action returns.
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
        Take(*client, chunk, static_cast<size_t>(count));
    }
    client->reading = false;
    --m_depth;
    if (!client->gone && client->socket->bytesAvailable() > 0) {
        QTimer::singleShot(0, this, [this, id] { Read(id); });
    }
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
                RunLine(client, std::exchange(client.input, {}));
            }
        } else if (!client.discarding) {
            client.input += c;
            if (client.input.size() > kMaxLineLength + 1) {  // room for a CR before the end
                client.input.clear();
                client.discarding = true;
                Write(client, RemoteAnswer::Error("A line holds at most " +
                                                  std::to_string(kMaxLineLength) + " bytes.")
                                  .Line());
            }
        }
    }
}

void LineProtocolServer::RunLine(Client& client, std::string line) {
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    if (!client.limiter.Take()) {
        Write(client, RemoteAnswer::Error("Too many commands: at most " +
                                          std::to_string(kCommandsPerSecond) + " a second.")
                          .Line());
        return;
    }
    const ParsedCommand parsed = ParseCommandLine(line);
    if (!parsed.command) {
        Write(client, RemoteAnswer::Error(parsed.error).Line());
        return;
    }
    const RemoteCommand& command = *parsed.command;
    const PanelState state = m_hooks.currentState();
    const RemoteAnswer answer = RunCommand(
        command,
        {*m_hooks.actions, state, {ActionSource::Network, client.name}, m_options.readOnly});
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
        lines += (lines.empty() ? "" : "\n") + ("STATE " + ItemText(item));
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
    client.gone = true;
    m_hooks.note(client.name + " dropped: " + why);
    client.socket->abort();
    SweepSoon();
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
