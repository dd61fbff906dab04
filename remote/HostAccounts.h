#pragma once

#include <map>
#include <string>

#include "remote/RateLimiter.h"

// What every host's clients may take, one account per host for the line protocol and OSC
// together: the commands a second (one bucket, so a new connection or another port of the same
// host starts with what the host has left) and the slots (connections and OSC subscriptions).
// Hosts are named by their address's text. The table keeps kMostHosts hosts; a host whose
// bucket is full and who holds no slot is as good as new and makes room, so a flood of new
// hosts never hands the busy ones a fresh bucket.
class HostAccounts {
  public:
    enum class Share {
        Taken,
        Refused,       // the host's bucket is empty (or the table holds only busy hosts)
        RefusedAgain,  // refused, and the one before was too: an OSC host is told only once
    };

    // Takes one command's share from `host`'s bucket, as the command arrives.
    Share TakeCommand(const std::string& host);
    // Takes a slot for `host`; false when it holds kMaxClientsPerHost.
    bool TakeSlot(const std::string& host);
    void ReturnSlot(const std::string& host);

  private:
    struct Account {
        RateLimiter bucket;
        int heldSlots = 0;     // connections and subscriptions
        bool refused = false;  // the last command was refused
    };

    // The host's account, or null when the table is full of busy hosts.
    Account* Find(const std::string& host);

    std::map<std::string, Account> m_accounts;
};
