#include "remote/HostAccounts.h"

#include <iterator>
#include <utility>

#include "remote/RemoteLimits.h"

HostAccounts::Account* HostAccounts::Find(const std::string& host) {
    if (const auto found = m_accounts.find(host); found != m_accounts.end()) {
        return &found->second;
    }
    if (m_accounts.size() >= kMostHosts) {
        for (auto it = m_accounts.begin(); it != m_accounts.end();) {
            const bool asGoodAsNew = it->second.heldSlots == 0 && it->second.bucket.Full();
            it = asGoodAsNew ? m_accounts.erase(it) : std::next(it);
        }
    }
    if (m_accounts.size() >= kMostHosts) {
        return nullptr;
    }
    return &m_accounts[host];
}

HostAccounts::Share HostAccounts::TakeCommand(const std::string& host) {
    Account* account = Find(host);
    if (account == nullptr) {
        return Share::Refused;
    }
    if (account->bucket.Take()) {
        account->refused = false;
        return Share::Taken;
    }
    return std::exchange(account->refused, true) ? Share::RefusedAgain : Share::Refused;
}

bool HostAccounts::TakeSlot(const std::string& host) {
    Account* account = Find(host);
    if (account == nullptr || account->heldSlots >= kMaxClientsPerHost) {
        return false;
    }
    ++account->heldSlots;
    return true;
}

void HostAccounts::ReturnSlot(const std::string& host) {
    if (const auto found = m_accounts.find(host);
        found != m_accounts.end() && found->second.heldSlots > 0) {
        --found->second.heldSlots;
    }
}
