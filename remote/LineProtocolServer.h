#pragma once

#include <QObject>
#include <QTcpServer>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "remote/CommandRunner.h"
#include "remote/PushPacer.h"
#include "remote/RemoteCommand.h"
#include "remote/RemoteHooks.h"

class QTcpSocket;

// The line protocol on TCP: one command a line, one answer a line ("OK ..." or
// "ERR reason"), and after SUBSCRIBE the panel's changes as "STATE ..." lines. Runs on the
// window's thread from the event loop and never waits on a socket: a client that stops
// reading is dropped once kMaxPendingOutput bytes wait for it.
//
// Each line takes its share of the host's account as it arrives. A command that starts a line
// exchange turns the event loop while it waits; the client's further lines are read meanwhile
// and wait for it, at most kMaxWaitingCommands of them and kMaxWaitingInput bytes; changes
// with only changes before them go to the panel's queue at once. Answers keep the lines'
// order: a line the rate or that bound refuses is answered as soon as the lines before it,
// and a client that sends more than the bytes is dropped. Lines after QUIT are not run. A client
// that neither subscribed nor sent a line for kIdleClient_ms is closed. A command answered OK that
// the panel refuses when its turn comes is told to its client as "REFUSED reason".
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
    // A queued action of `origin` was refused when its turn came: its client hears why.
    void ActionRefused(const ActionOrigin& origin, const std::string& reason);

  private:
    struct Client;
    struct Waiting;
    enum class Refusal : uint8_t;

    void Accept();
    void Refuse(QTcpSocket* socket, const std::string& why);
    // A line refused as it arrives, answered right after the lines taken before it.
    void Refuse(Client& client, Refusal refusal);
    void WriteRefusal(Client& client, Refusal refusal);
    void Read(uint64_t id);
    void Take(Client& client, const char* bytes, size_t count);
    void Arrive(Client& client, std::string line);
    void RunSoon(Client& client);
    void RunWaiting(uint64_t id);
    void HandOverEarly(Client& client);
    void RunLine(Client& client, const ParsedCommand& parsed);
    RemoteAnswer Answered(Client& client, const RemoteCommand& command);
    void Subscribe(Client& client);
    void SendChanges(Client& client, const PanelState& state);
    void Write(Client& client, const std::string& text);
    void Drop(Client& client, const std::string& why);
    void Leave(Client& client, const std::string& note);
    void CloseIdle();
    void Push();
    void SweepSoon();
    void Sweep();
    Client* Find(uint64_t id) const;
    int ActiveClients() const;

    RemoteHooks m_hooks;
    ServerOptions m_options;
    QTcpServer m_server;
    PushPacer m_pacer;
    QTimer m_idleCheck;
    std::vector<std::unique_ptr<Client>> m_clients;
    PanelState m_latest;
    uint64_t m_nextId = 1;
    int m_depth = 0;  // reads under way; clients leave the list only outside them
    bool m_sweepQueued = false;
};
