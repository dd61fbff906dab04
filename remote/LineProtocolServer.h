#pragma once

#include <QObject>
#include <QTcpServer>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "remote/PushPacer.h"
#include "remote/RemoteHooks.h"

class QTcpSocket;

// The line protocol on TCP: one command a line, one answer a line ("OK ..." or
// "ERR reason"), and after SUBSCRIBE the panel's changes as "STATE ..." lines. Runs on the
// window's thread from the event loop and never waits on a socket: a client that stops
// reading is dropped once kMaxPendingOutput bytes wait for it. A command that starts a line
// exchange turns the event loop while it waits; a client's further lines wait for it.
class LineProtocolServer : public QObject {
    Q_OBJECT

  public:
    LineProtocolServer(RemoteHooks hooks, ServerOptions options, QObject* parent = nullptr);
    ~LineProtocolServer() override;

    // Listens on the options' address and port; false, with Error(), when it cannot.
    bool Listen();
    quint16 Port() const { return m_server.serverPort(); }
    std::string Error() const { return m_server.errorString().toStdString(); }
    // The connected clients, "tcp 127.0.0.1:5555", subscribers marked.
    std::vector<std::string> Clients() const;
    // The panel's state changed: subscribers hear of it, paced.
    void StateChanged(const PanelState& state);

  private:
    struct Client;

    void Accept();
    void Refuse(QTcpSocket* socket, const std::string& why);
    void Read(uint64_t id);
    void Take(Client& client, const char* bytes, size_t count);
    void RunLine(Client& client, std::string line);
    void Subscribe(Client& client);
    void SendChanges(Client& client, const PanelState& state);
    void Write(Client& client, const std::string& text);
    void Drop(Client& client, const std::string& why);
    void Push();
    void SweepSoon();
    void Sweep();
    Client* Find(uint64_t id) const;
    int ActiveClients() const;

    RemoteHooks m_hooks;
    ServerOptions m_options;
    QTcpServer m_server;
    PushPacer m_pacer;
    std::vector<std::unique_ptr<Client>> m_clients;
    PanelState m_latest;
    uint64_t m_nextId = 1;
    int m_depth = 0;  // reads under way; clients leave the list only outside them
    bool m_sweepQueued = false;
};
