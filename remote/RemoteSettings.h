#pragma once

#include <string>

// Network control's settings, kept in the per-user settings beside the panel's own
// (section "Remote"). Off until the user turns it on; it then listens on loopback unless an
// address is given, for the clients of the allow-list alone.
struct RemoteSettings {
    bool enabled = false;
    bool lineOn = true;  // the line protocol on TCP
    int tcpPort = 7401;  // 0: a free port, shown in the settings dialog
    bool oscOn = true;   // OSC over UDP
    int oscPort = 7400;
    std::string listenAddress = "127.0.0.1";
    std::string allowList = "127.0.0.1, ::1";  // addresses or subnets (192.168.1.0/24)
    bool readOnly = false;
    bool operator==(const RemoteSettings&) const = default;
};

// The stored settings, or those of this run while SetRunRemote holds.
RemoteSettings ReadRemoteSettings();
// Writes `settings` as the user's own; a run's settings of SetRunRemote end here.
void StoreRemoteSettings(const RemoteSettings& settings);
// Network control on for this run only (vcp --remote [ADDRESS:]PORT): ReadRemoteSettings then
// gives the stored settings with the line protocol on PORT (0: a free port) at ADDRESS
// (127.0.0.1 when left out; an IPv6 address in brackets or before the last colon), and
// nothing is written. False, with `error` saying why, when `where` does not read.
bool SetRunRemote(const std::string& where, std::string& error);
