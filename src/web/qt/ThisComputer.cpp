#include "web/qt/ThisComputer.h"

#include <QHostInfo>
#include <QNetworkInterface>
#include <algorithm>

namespace quorvane {

QString ThisComputer(bool ipv6) {
    for (const QNetworkInterface& face : QNetworkInterface::allInterfaces()) {
        const auto flags = face.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack)) {
            continue;
        }
        for (const QNetworkAddressEntry& entry : face.addressEntries()) {
            const QHostAddress ip = entry.ip();
            const bool isV6 = ip.protocol() == QAbstractSocket::IPv6Protocol;
            if (isV6 == ipv6 && !ip.isLinkLocal() && !ip.isLoopback()) return ip.toString();
        }
    }
    return ipv6 ? "::1" : "127.0.0.1";
}

HostNames OwnHostNames(const WebRemoteSettings& settings) {
    HostNames names{"localhost"};
    const auto add = [&names](const QString& name) {
        std::string text = name.toLower().toStdString();
        if (!text.empty() && text.back() == '.') text.pop_back();
        if (!text.empty() && std::find(names.begin(), names.end(), text) == names.end()) names.push_back(text);
    };
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        QHostAddress plain = address;
        plain.setScopeId({});  // a browser's Host never names the zone
        add(plain.protocol() == QAbstractSocket::IPv6Protocol ? "[" + plain.toString() + "]" : plain.toString());
    }
    // The loopback answers even where no interface lists it.
    add("127.0.0.1");
    add("[::1]");
    const QString host = QHostInfo::localHostName();
    add(host);
    if (const QString domain = QHostInfo::localDomainName(); !domain.isEmpty()) add(host + "." + domain);
    for (const std::string& name : settings.hostNames) add(QString::fromStdString(name));
    return names;
}

}  // namespace quorvane
