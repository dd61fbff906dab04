#pragma once

#include <QHostAddress>
#include <QObject>
#include <QUdpSocket>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "remote/CommandRunner.h"
#include "remote/PushPacer.h"
#include "remote/RateLimiter.h"
#include "remote/RemoteHooks.h"

// OSC over UDP: liblo reads each datagram as a message and writes the answers and the pushed
// state; the socket is Qt's, bound to the options' address (loopback unless configured; a
// server of liblo's own binds every interface) and read from the window's event loop, never
// waited on. A datagram from a client outside the
// allow-list is dropped unanswered. Answers go to the sender's host at its subscribed port
// when it has one, else to the port the message came from.
class OscServer : public QObject {
    Q_OBJECT

  public:
    OscServer(RemoteHooks hooks, ServerOptions options, QObject* parent = nullptr);

    bool Listen();
    quint16 Port() const { return m_socket.localPort(); }
    std::string Error() const { return m_socket.errorString().toStdString(); }
    // The subscribers, "osc 127.0.0.1:9000".
    std::vector<std::string> Clients() const;
    void StateChanged(const PanelState& state);

  private:
    struct Subscriber {
        QHostAddress host;
        quint16 port = 0;
        std::optional<PanelState> sent;
    };

    void Read();
    void Handle(const QByteArray& packet, const QHostAddress& host, quint16 port);
    void Subscribe(const QHostAddress& host, quint16 port);
    void Unsubscribe(const QHostAddress& host, quint16 port);
    void Answer(const QHostAddress& host, quint16 port, const RemoteAnswer& answer);
    // Sends, dropping the subscriber at `host:port` when the datagram cannot go.
    bool Send(const QHostAddress& host, quint16 port, const std::vector<char>& packet);
    void Push();
    RateLimiter& LimiterOf(const QHostAddress& host);

    RemoteHooks m_hooks;
    ServerOptions m_options;
    QUdpSocket m_socket;
    PushPacer m_pacer;
    std::vector<Subscriber> m_subscribers;
    std::map<QString, RateLimiter> m_limiters;  // by sender host
    PanelState m_latest;
    bool m_reading = false;
};
