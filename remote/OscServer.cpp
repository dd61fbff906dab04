#include "remote/OscServer.h"

#include <QNetworkDatagram>
#include <QTimer>
#include <algorithm>

#include "remote/CommandRunner.h"
#include "remote/OscCommand.h"
#include "remote/OscMessages.h"
#include "remote/RemoteLimits.h"
#include "remote/StateItems.h"

namespace {

// Datagrams handled in one turn of the event loop; the rest wait for the next.
constexpr int kDatagramsPerTurn = 64;

QHostAddress Plain(const QHostAddress& address) {
    bool isIPv4 = false;
    const quint32 ipv4 = address.toIPv4Address(&isIPv4);
    return isIPv4 ? QHostAddress(ipv4) : address;
}

std::string NameOf(const QHostAddress& host, quint16 port) {
    return "osc " + Plain(host).toString().toStdString() + ":" + std::to_string(port);
}

}  // namespace

OscServer::OscServer(RemoteHooks hooks, ServerOptions options, QObject* parent)
    : QObject(parent),
      m_hooks(std::move(hooks)),
      m_options(std::move(options)),
      m_pacer([this] { Push(); }, this) {
    connect(&m_socket, &QUdpSocket::readyRead, this, &OscServer::Read);
}

bool OscServer::Listen() {
    return m_socket.bind(m_options.address, m_options.port);
}

std::vector<std::string> OscServer::Clients() const {
    std::vector<std::string> names;
    for (const Subscriber& subscriber : m_subscribers) {
        names.push_back(NameOf(subscriber.host, subscriber.port) + " (subscribed)");
    }
    return names;
}

void OscServer::Read() {
    // An action's wait turns the event loop: the datagrams that come meanwhile wait for this
    // read to go on.
    if (m_reading) {
        return;
    }
    m_reading = true;
    for (int i = 0; i < kDatagramsPerTurn && m_socket.hasPendingDatagrams(); ++i) {
        const qint64 size = m_socket.pendingDatagramSize();
        const QNetworkDatagram datagram =
            m_socket.receiveDatagram(static_cast<qint64>(kMaxOscPacketSize) + 1);
        if (!m_options.allowList.Allows(datagram.senderAddress())) {
            continue;
        }
        const quint16 port = static_cast<quint16>(datagram.senderPort());
        if (size > static_cast<qint64>(kMaxOscPacketSize)) {
            Answer(datagram.senderAddress(), port,
                   RemoteAnswer::Error("An OSC packet holds at most " +
                                       std::to_string(kMaxOscPacketSize) + " bytes."));
            continue;
        }
        Handle(datagram.data(), datagram.senderAddress(), port);
    }
    m_reading = false;
    if (m_socket.hasPendingDatagrams()) {
        QTimer::singleShot(0, this, &OscServer::Read);
    }
}

void OscServer::Handle(const QByteArray& packet, const QHostAddress& host, quint16 port) {
    if (!LimiterOf(host).Take()) {
        Answer(host, port,
               RemoteAnswer::Error("Too many commands: at most " +
                                   std::to_string(kCommandsPerSecond) + " a second."));
        return;
    }
    const ParsedCommand parsed =
        DecodeOscPacket(packet.constData(), static_cast<size_t>(packet.size()));
    if (!parsed.command) {
        Answer(host, port, RemoteAnswer::Error(parsed.error));
        return;
    }
    const RemoteCommand& command = *parsed.command;
    const quint16 replyPort = command.number > 0 ? static_cast<quint16>(command.number) : port;
    if (command.verb == Verb::Subscribe) {
        if (m_subscribers.size() >= static_cast<size_t>(kMaxClients)) {
            Answer(host, replyPort,
                   RemoteAnswer::Error("The panel takes at most " + std::to_string(kMaxClients) +
                                       " subscribers at once."));
            return;
        }
        Subscribe(host, replyPort);
        return;
    }
    if (command.verb == Verb::Unsubscribe) {
        Answer(host, replyPort, RemoteAnswer::Ok("unsubscribed"));
        Unsubscribe(host, replyPort);
        return;
    }
    const PanelState state = m_hooks.currentState();
    const RemoteAnswer answer = RunCommand(
        command,
        {*m_hooks.actions, state, {ActionSource::Network, NameOf(host, port)}, m_options.readOnly});
    Answer(host, port, answer);
}

void OscServer::Subscribe(const QHostAddress& host, quint16 port) {
    const QHostAddress plain = Plain(host);
    auto found = std::find_if(m_subscribers.begin(), m_subscribers.end(), [&](const Subscriber& s) {
        return s.host == plain && s.port == port;
    });
    if (found == m_subscribers.end()) {
        m_subscribers.push_back({plain, port, std::nullopt});
        m_hooks.note(NameOf(plain, port) + " subscribed");
        found = m_subscribers.end() - 1;
    }
    // The whole state at once, then its changes.
    Answer(plain, port, RemoteAnswer::Ok("subscribed"));
    const PanelState state = m_hooks.currentState();
    found->sent = state;
    for (const StateItem& item : ChangedStateItems(std::nullopt, state)) {
        if (!Send(plain, port, OscStatePacket(item))) {
            break;
        }
    }
}

void OscServer::Unsubscribe(const QHostAddress& host, quint16 port) {
    const QHostAddress plain = Plain(host);
    const size_t removed = std::erase_if(
        m_subscribers, [&](const Subscriber& s) { return s.host == plain && s.port == port; });
    if (removed > 0) {
        m_hooks.note(NameOf(plain, port) + " left");
    }
}

void OscServer::Answer(const QHostAddress& host, quint16 port, const RemoteAnswer& answer) {
    const QHostAddress plain = Plain(host);
    const auto subscribed = std::find_if(m_subscribers.begin(), m_subscribers.end(),
                                         [&](const Subscriber& s) { return s.host == plain; });
    Send(plain, subscribed != m_subscribers.end() ? subscribed->port : port,
         OscAnswerPacket(answer));
}

bool OscServer::Send(const QHostAddress& host, quint16 port, const std::vector<char>& packet) {
    const qint64 sent =
        m_socket.writeDatagram(packet.data(), static_cast<qint64>(packet.size()), host, port);
    if (sent == static_cast<qint64>(packet.size())) {
        return true;
    }
    // A subscriber that no longer takes datagrams leaves; the window never waits for it.
    const size_t removed = std::erase_if(
        m_subscribers, [&](const Subscriber& s) { return s.host == host && s.port == port; });
    if (removed > 0) {
        m_hooks.note(NameOf(host, port) + " dropped: it takes no datagrams");
    }
    return false;
}

RateLimiter& OscServer::LimiterOf(const QHostAddress& host) {
    // Senders are counted by host; a flood of new hosts cannot grow the table without bound.
    constexpr size_t kMostSenders = 4 * static_cast<size_t>(kMaxClients);
    const QString key = Plain(host).toString();
    if (m_limiters.size() >= kMostSenders && m_limiters.find(key) == m_limiters.end()) {
        m_limiters.clear();
    }
    return m_limiters[key];
}

void OscServer::StateChanged(const PanelState& state) {
    m_latest = state;
    if (!m_subscribers.empty()) {
        m_pacer.Changed();
    }
}

void OscServer::Push() {
    // Send may drop a subscriber: walk a copy of the addresses.
    const std::vector<Subscriber> subscribers = m_subscribers;
    for (const Subscriber& subscriber : subscribers) {
        for (const StateItem& item : ChangedStateItems(subscriber.sent, m_latest)) {
            if (!Send(subscriber.host, subscriber.port, OscStatePacket(item))) {
                break;
            }
        }
    }
    for (Subscriber& subscriber : m_subscribers) {
        subscriber.sent = m_latest;
    }
}
