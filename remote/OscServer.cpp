#include "remote/OscServer.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QTimer>
#include <algorithm>

#include "platform/Clock.h"
#include "remote/CommandRunner.h"
#include "remote/OscCommand.h"
#include "remote/OscMessages.h"
#include "remote/RemoteLimits.h"
#include "remote/StateItems.h"

namespace {

// Datagrams handled in one turn of the event loop; the rest wait for the next.
constexpr int kDatagramsPerTurn = 64;
constexpr const char* kNamePrefix = "osc ";

QHostAddress Plain(const QHostAddress& address) {
    bool isIPv4 = false;
    const quint32 ipv4 = address.toIPv4Address(&isIPv4);
    return isIPv4 ? QHostAddress(ipv4) : address;
}

std::string HostOf(const QHostAddress& host) {
    return Plain(host).toString().toStdString();
}

std::string NameOf(const QHostAddress& host, quint16 port) {
    return kNamePrefix + HostOf(host) + ":" + std::to_string(port);
}

}  // namespace

OscServer::OscServer(RemoteHooks hooks, ServerOptions options, QObject* parent)
    : QObject(parent),
      m_hooks(std::move(hooks)),
      m_options(std::move(options)),
      m_pacer([this] { Push(); }, this) {
    connect(&m_socket, &QUdpSocket::readyRead, this, &OscServer::Read);
}

OscServer::~OscServer() {
    for (const Subscriber& subscriber : m_subscribers) {
        m_options.accounts->ReturnSlot(HostOf(subscriber.host));
    }
}

bool OscServer::Listen() {
    // Another program on the port is an error, not a share of its datagrams.
    if (m_socket.bind(m_options.address, m_options.port, QAbstractSocket::DontShareAddress)) {
        return true;
    }
    if (m_hooks.cannotListen) {
        m_hooks.cannotListen(ListenProblem("OSC", m_options, Error()));
    }
    return false;
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
    Expire();
    if (!m_socket.hasPendingDatagrams()) {
        // Told of something that is no datagram (a closed port's refusal of one sent): Qt
        // tells of nothing more until the socket is read once.
        char none = 0;
        static_cast<void>(m_socket.readDatagram(&none, 0));
    }
    for (int i = 0; i < kDatagramsPerTurn && m_socket.hasPendingDatagrams(); ++i) {
        const qint64 size = m_socket.pendingDatagramSize();
        const QNetworkDatagram datagram =
            m_socket.receiveDatagram(static_cast<qint64>(kMaxOscPacketSize) + 1);
        const QHostAddress host = Plain(datagram.senderAddress());
        const quint16 port = static_cast<quint16>(datagram.senderPort());
        if (!m_options.allowList.Allows(host) || port == 0 || IsOwn(host, port)) {
            continue;
        }
        Renew(host, port);
        if (size > static_cast<qint64>(kMaxOscPacketSize)) {
            Take({}, host, port);
            continue;
        }
        Take(datagram.data(), host, port);
    }
    m_reading = false;
    if (m_socket.hasPendingDatagrams()) {
        QTimer::singleShot(0, this, &OscServer::Read);
    }
}

// A datagram takes its host's share first; an empty packet stands for one too long to read.
void OscServer::Take(const QByteArray& packet, const QHostAddress& host, quint16 port) {
    if (IsPanelMessage(packet.constData(), static_cast<size_t>(packet.size()))) {
        return;
    }
    switch (m_options.accounts->TakeCommand(HostOf(host))) {
        case HostAccounts::Share::Taken:
            break;
        case HostAccounts::Share::Refused:
            Answer(host, port, RemoteAnswer::Error(TooManyCommandsReason()));
            return;
        case HostAccounts::Share::RefusedAgain:
            return;
    }
    if (packet.isEmpty()) {
        Answer(host, port,
               RemoteAnswer::Error("An OSC packet holds at most " +
                                   std::to_string(kMaxOscPacketSize) + " bytes."));
        return;
    }
    Handle(packet, host, port);
}

void OscServer::Handle(const QByteArray& packet, const QHostAddress& host, quint16 port) {
    const ParsedCommand parsed =
        DecodeOscPacket(packet.constData(), static_cast<size_t>(packet.size()));
    if (!parsed.command) {
        Answer(host, port, RemoteAnswer::Error(parsed.error));
        return;
    }
    const RemoteCommand& command = *parsed.command;
    const quint16 replyPort = command.number > 0 ? static_cast<quint16>(command.number) : port;
    if (command.verb == Verb::Subscribe) {
        Subscribe(host, port, replyPort);
        return;
    }
    if (command.verb == Verb::Unsubscribe) {
        Answer(host, port, RemoteAnswer::Ok("unsubscribed"));
        RemoveSubscribers(
            [&](const Subscriber& s) { return s.host == host && s.port == replyPort; }, "left");
        return;
    }
    const PanelState state = m_hooks.currentState();
    const RemoteAnswer answer = RunCommand(
        command,
        {*m_hooks.actions, state, {ActionSource::Network, NameOf(host, port)}, m_options.readOnly});
    Answer(host, port, answer);
}

void OscServer::Subscribe(const QHostAddress& host, quint16 port, quint16 replyPort) {
    if (IsOwn(host, replyPort)) {
        Answer(host, port,
               RemoteAnswer::Error("A reply port cannot be the panel's own OSC port (" +
                                   std::to_string(replyPort) + ")."));
        return;
    }
    const auto found =
        std::find_if(m_subscribers.begin(), m_subscribers.end(),
                     [&](const Subscriber& s) { return s.host == host && s.port == replyPort; });
    if (found != m_subscribers.end()) {
        found->renewed_ms = CurrentClock().TickCount();
        Answer(host, port, RemoteAnswer::Ok("subscribed"));
        return;
    }
    if (m_subscribers.size() >= static_cast<size_t>(kMaxClients)) {
        Answer(host, port, RemoteAnswer::Error(TooManyClientsReason()));
        return;
    }
    if (!m_options.accounts->TakeSlot(HostOf(host))) {
        Answer(host, port, RemoteAnswer::Error(TooManyFromHostReason()));
        return;
    }
    m_subscribers.push_back({host, replyPort, std::nullopt, CurrentClock().TickCount()});
    m_hooks.note(NameOf(host, replyPort) + " subscribed");
    // One answer now; the whole state goes with the next push.
    Answer(host, port, RemoteAnswer::Ok("subscribed"));
    m_latest = m_hooks.currentState();
    m_pacer.Changed();
}

void OscServer::Answer(const QHostAddress& host, quint16 port, const RemoteAnswer& answer) {
    Send(host, port, OscAnswerPacket(answer));
}

bool OscServer::Send(const QHostAddress& host, quint16 port, const std::vector<char>& packet) {
    const qint64 sent =
        m_socket.writeDatagram(packet.data(), static_cast<qint64>(packet.size()), host, port);
    if (sent == static_cast<qint64>(packet.size())) {
        return true;
    }
    // A subscriber that no longer takes datagrams leaves; the window never waits for it.
    RemoveSubscribers([&](const Subscriber& s) { return s.host == host && s.port == port; },
                      "dropped: it takes no datagrams");
    return false;
}

bool OscServer::IsOwn(const QHostAddress& host, quint16 port) const {
    if (port != m_socket.localPort()) {
        return false;
    }
    if (host.isLoopback() || host == Plain(m_socket.localAddress())) {
        return true;
    }
    const QList<QHostAddress> own = QNetworkInterface::allAddresses();
    return std::any_of(own.begin(), own.end(),
                       [&](const QHostAddress& each) { return Plain(each) == host; });
}

void OscServer::Renew(const QHostAddress& host, quint16 port) {
    for (Subscriber& subscriber : m_subscribers) {
        if (subscriber.host == host && subscriber.port == port) {
            subscriber.renewed_ms = CurrentClock().TickCount();
        }
    }
}

void OscServer::Expire() {
    const uint32_t now_ms = CurrentClock().TickCount();
    RemoveSubscribers(
        [now_ms](const Subscriber& s) { return now_ms - s.renewed_ms >= kOscLease_ms; },
        "left: its lease ran out");
}

void OscServer::RemoveSubscribers(const std::function<bool(const Subscriber&)>& which,
                                  const std::string& why) {
    std::erase_if(m_subscribers, [&](const Subscriber& s) {
        if (!which(s)) {
            return false;
        }
        m_options.accounts->ReturnSlot(HostOf(s.host));
        m_hooks.note(NameOf(s.host, s.port) + " " + why);
        return true;
    });
}

void OscServer::ActionRefused(const ActionOrigin& origin, const std::string& reason) {
    const std::string& name = origin.client;
    const size_t colon = name.rfind(':');
    if (origin.source != ActionSource::Network || name.rfind(kNamePrefix, 0) != 0 ||
        colon == std::string::npos) {
        return;
    }
    const size_t hostStart = std::char_traits<char>::length(kNamePrefix);
    const QHostAddress host(QString::fromStdString(name.substr(hostStart, colon - hostStart)));
    const std::optional<int> port = WireNumber(name.substr(colon + 1));
    if (!host.isNull() && port && *port > 0 && *port <= 65535) {
        Answer(host, static_cast<quint16>(*port), RemoteAnswer::Error(reason));
    }
}

void OscServer::StateChanged(const PanelState& state) {
    m_latest = state;
    if (!m_subscribers.empty()) {
        m_pacer.Changed();
    }
}

void OscServer::Push() {
    Expire();
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
