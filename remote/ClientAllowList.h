#pragma once

#include <QHostAddress>
#include <QPair>
#include <string>
#include <vector>

// The client addresses a server answers: single addresses and subnets ("192.168.1.20",
// "::1", "10.0.0.0/8"), separated by commas or blanks. An IPv4 client seen as an IPv6
// mapped address matches its IPv4 entry. An empty list lets in loopback clients alone.
class ClientAllowList {
  public:
    ClientAllowList() = default;

    // The list from its text; `error` names the first entry that is no address.
    static ClientAllowList Parse(const std::string& text, std::string* error = nullptr);

    bool Allows(const QHostAddress& client) const;

  private:
    std::vector<QPair<QHostAddress, int>> m_subnets;
};
