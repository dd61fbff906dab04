#include "remote/RemoteSettings.h"

#include <QSettings>
#include <charconv>
#include <optional>

namespace {

constexpr const char* kEnabledKey = "Remote/Enabled";
constexpr const char* kLineOnKey = "Remote/LineOn";
constexpr const char* kOscOnKey = "Remote/OscOn";
constexpr const char* kTcpPortKey = "Remote/TcpPort";
constexpr const char* kOscPortKey = "Remote/OscPort";
constexpr const char* kAddressKey = "Remote/ListenAddress";
constexpr const char* kAllowKey = "Remote/AllowList";
constexpr const char* kReadOnlyKey = "Remote/ReadOnly";
constexpr int kHighestPort = 65535;

// Set by vcp --remote for the run; the stored settings stay untouched.
std::optional<RemoteSettings> g_runSettings;

int PortOr(const QSettings& settings, const char* key, int fallback) {
    bool ok = false;
    const int port = settings.value(QString::fromLatin1(key)).toInt(&ok);
    return ok && port >= 0 && port <= kHighestPort ? port : fallback;
}

}  // namespace

RemoteSettings ReadRemoteSettings() {
    if (g_runSettings) {
        return *g_runSettings;
    }
    const QSettings settings;
    const RemoteSettings defaults;
    RemoteSettings read;
    read.enabled = settings.value(QString::fromLatin1(kEnabledKey), defaults.enabled).toBool();
    read.lineOn = settings.value(QString::fromLatin1(kLineOnKey), defaults.lineOn).toBool();
    read.oscOn = settings.value(QString::fromLatin1(kOscOnKey), defaults.oscOn).toBool();
    read.tcpPort = PortOr(settings, kTcpPortKey, defaults.tcpPort);
    read.oscPort = PortOr(settings, kOscPortKey, defaults.oscPort);
    read.listenAddress =
        settings
            .value(QString::fromLatin1(kAddressKey), QString::fromStdString(defaults.listenAddress))
            .toString()
            .toStdString();
    read.allowList =
        settings.value(QString::fromLatin1(kAllowKey), QString::fromStdString(defaults.allowList))
            .toString()
            .toStdString();
    read.readOnly = settings.value(QString::fromLatin1(kReadOnlyKey), defaults.readOnly).toBool();
    return read;
}

void StoreRemoteSettings(const RemoteSettings& stored) {
    QSettings settings;
    settings.setValue(QString::fromLatin1(kEnabledKey), stored.enabled);
    settings.setValue(QString::fromLatin1(kLineOnKey), stored.lineOn);
    settings.setValue(QString::fromLatin1(kOscOnKey), stored.oscOn);
    settings.setValue(QString::fromLatin1(kTcpPortKey), stored.tcpPort);
    settings.setValue(QString::fromLatin1(kOscPortKey), stored.oscPort);
    settings.setValue(QString::fromLatin1(kAddressKey),
                      QString::fromStdString(stored.listenAddress));
    settings.setValue(QString::fromLatin1(kAllowKey), QString::fromStdString(stored.allowList));
    settings.setValue(QString::fromLatin1(kReadOnlyKey), stored.readOnly);
    settings.sync();
    g_runSettings.reset();
}

bool SetRunRemote(const std::string& where, std::string& error) {
    const size_t colon = where.rfind(':');
    std::string address = colon == std::string::npos ? std::string() : where.substr(0, colon);
    const std::string port = colon == std::string::npos ? where : where.substr(colon + 1);
    if (address.size() >= 2 && address.front() == '[' && address.back() == ']') {
        address = address.substr(1, address.size() - 2);
    }
    int number = -1;
    const auto [end, failure] = std::from_chars(port.data(), port.data() + port.size(), number);
    if (port.empty() || failure != std::errc() || end != port.data() + port.size() || number < 0 ||
        number > kHighestPort) {
        error = "--remote needs a port from 0 to " + std::to_string(kHighestPort) + ", not \"" +
                port + "\"";
        return false;
    }
    RemoteSettings run = ReadRemoteSettings();
    run.enabled = true;
    run.lineOn = true;
    run.tcpPort = number;
    run.listenAddress = address.empty() ? RemoteSettings().listenAddress : address;
    g_runSettings = run;
    return true;
}
