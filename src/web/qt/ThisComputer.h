#pragma once
#include <QString>

#include "web/AccessRules.h"
#include "web/WebRemoteSettings.h"

namespace quorvane {

// An address of this computer for a link, when the remote listens on every
// network: the first one of an interface that is up and not the loopback
// (the loopback when there is none).
QString ThisComputer(bool ipv6);

// The names a browser may reach this computer's remote by (its Host): every
// address of its interfaces, "localhost", its host name with and without its
// domain, and the host_names of web_remote.txt.
HostNames OwnHostNames(const WebRemoteSettings& settings);

}  // namespace quorvane
