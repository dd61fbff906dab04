#include "remote/ClientAllowList.h"

#include <QRegularExpression>
#include <QString>

ClientAllowList ClientAllowList::Parse(const std::string& text, std::string* error) {
    ClientAllowList list;
    static const QRegularExpression kSeparators(QStringLiteral("[,\\s]+"));
    const QStringList entries = QString::fromStdString(text).split(kSeparators, Qt::SkipEmptyParts);
    for (const QString& entry : entries) {
        QPair<QHostAddress, int> subnet = QHostAddress::parseSubnet(entry);
        if (subnet.first.isNull() && !entry.contains(QLatin1Char('/'))) {
            const QHostAddress single(entry);
            subnet = {single, single.protocol() == QAbstractSocket::IPv4Protocol ? 32 : 128};
        }
        if (subnet.first.isNull()) {
            if (error != nullptr && error->empty()) {
                *error = "\"" + entry.toStdString() + "\" is no address or subnet.";
            }
            continue;
        }
        list.m_subnets.push_back(subnet);
    }
    return list;
}

bool ClientAllowList::Allows(const QHostAddress& client) const {
    bool isIPv4 = false;
    const quint32 ipv4 = client.toIPv4Address(&isIPv4);
    const QHostAddress plain = isIPv4 ? QHostAddress(ipv4) : client;
    if (m_subnets.empty()) {
        return plain.isLoopback();
    }
    for (const auto& subnet : m_subnets) {
        if (plain.isInSubnet(subnet)) {
            return true;
        }
    }
    return false;
}
