#pragma once

#include <QHostAddress>
#include <QObject>
#include <QUdpSocket>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "remote/CommandRunner.h"
#include "remote/PushPacer.h"
#include "remote/RemoteHooks.h"

// OSC over UDP: liblo reads each datagram as a message and writes the answers and the pushed
// state; the socket is Qt's, bound to the options' address (loopback unless configured; a
// server of liblo's own binds every interface) and read from the window's event loop, never
// waited on. A datagram from a client outside the allow-list, or from this server's own
// address and port, is dropped unanswered.
//
// Each datagram takes its share of its host's account as it arrives; one that finds none is
// dropped, and only the first of a run is told why, so errors are bounded by the rate too.
// An answer goes to the sender's own address and port, and never to a message the panel
// itself sends (an answer, an error, a pushed item). A subscription lasts kOscLease_ms from
// its subscribe or the last datagram from its port; subscribing again renews it, also when
// the table is full. A new subscription hears its OK at once and the whole state with the
// next push, once a lease; a reply port that is this server's own is refused.
class OscServer : public QObject {
    Q_OBJECT

  public:
    OscServer(RemoteHooks hooks, ServerOptions options, QObject* parent = nullptr);
    ~OscServer() override;

    bool Listen();
    quint16 Port() const { return m_socket.localPort(); }
    std::string Error() const { return m_socket.errorString().toStdString(); }
    // The subscribers, "osc 127.0.0.1:9000".
    std::vector<std::string> Clients() const;
    void StateChanged(const PanelState& state);
    // A queued action of `origin` was refused when its turn came: its sender hears why.
    void ActionRefused(const ActionOrigin& origin, const std::string& reason);

  private:
    struct Subscriber {
        QHostAddress host;
        quint16 port = 0;
        std::optional<PanelState> sent;  // none: the whole state is owed
        uint32_t renewed_ms = 0;
    };

    void Read();
    void Take(const QByteArray& packet, const QHostAddress& host, quint16 port);
    void Handle(const QByteArray& packet, const QHostAddress& host, quint16 port);
    void Subscribe(const QHostAddress& host, quint16 port, quint16 replyPort);
    void Answer(const QHostAddress& host, quint16 port, const RemoteAnswer& answer);
    // Sends, dropping the subscriber at `host:port` when the datagram cannot go.
    bool Send(const QHostAddress& host, quint16 port, const std::vector<char>& packet);
    void Push();
    // Whether `host:port` is this server's own socket.
    bool IsOwn(const QHostAddress& host, quint16 port) const;
    void Renew(const QHostAddress& host, quint16 port);
    void Expire();
    void RemoveSubscribers(const std::function<bool(const Subscriber&)>& which,
                           const std::string& why);

    RemoteHooks m_hooks;
    ServerOptions m_options;
    QUdpSocket m_socket;
    PushPacer m_pacer;
    std::vector<Subscriber> m_subscribers;
    PanelState m_latest;
    bool m_reading = false;
};
