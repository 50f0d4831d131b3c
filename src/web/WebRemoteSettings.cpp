#include "web/WebRemoteSettings.h"

#include <algorithm>
#include <cctype>

#include "app/NameValueFile.h"
#include "web/AccessRules.h"
#include "base/Numbers.h"
#include "base/AsciiCase.h"

namespace quorvane {
namespace {

bool AllOf(std::string_view text, int (*test)(int)) {
    return std::all_of(text.begin(), text.end(), [test](char c) { return test(static_cast<unsigned char>(c)) != 0; });
}

bool IsIpv4(std::string_view text) {
    int parts = 0;
    while (true) {
        const size_t dot = text.find('.');
        const std::string_view part = text.substr(0, dot);
        // No leading zeros: "010" reads as octal to some programs.
        if (!WholeNumber(part, 0, 255) || (part.size() > 1 && part[0] == '0')) {
            return false;
        }
        ++parts;
        if (dot == std::string_view::npos) break;
        text.remove_prefix(dot + 1);
    }
    return parts == 4;
}

// The number of 16-bit groups in a run of "h:h:h" (an IPv4 tail counts two);
// -1 when malformed. An empty run has none.
int Ipv6Groups(std::string_view run, bool mayEndInIpv4) {
    if (run.empty()) return 0;
    int groups = 0;
    while (true) {
        const size_t colon = run.find(':');
        const std::string_view group = run.substr(0, colon);
        if (colon == std::string_view::npos && mayEndInIpv4 && group.find('.') != std::string_view::npos) {
            return IsIpv4(group) ? groups + 2 : -1;
        }
        if (group.empty() || group.size() > 4 || !AllOf(group, isxdigit)) return -1;
        ++groups;
        if (colon == std::string_view::npos) return groups;
        run.remove_prefix(colon + 1);
    }
}

bool IsIpv6(std::string_view text) {
    const size_t gap = text.find("::");
    if (gap == std::string_view::npos) return Ipv6Groups(text, true) == 8;
    if (text.find("::", gap + 1) != std::string_view::npos) return false;
    const int before = Ipv6Groups(text.substr(0, gap), false);
    const int after = Ipv6Groups(text.substr(gap + 2), true);
    return before >= 0 && after >= 0 && before + after <= 7;
}

std::optional<int> ParsePort(std::string_view text) {
    const std::optional<long long> port = WholeNumber(text, 1, 65535);
    if (!port) return std::nullopt;
    return static_cast<int>(*port);
}

// The names of a host_names value: separated by blanks or commas, lower
// case, each without one trailing dot.
std::vector<std::string> HostNameList(std::string_view value) {
    std::vector<std::string> names;
    std::string name;
    for (size_t i = 0; i <= value.size(); ++i) {
        const char c = i < value.size() ? value[i] : ' ';
        if (c != ' ' && c != '\t' && c != ',') {
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            continue;
        }
        if (name.size() > 1 && name.back() == '.') name.pop_back();
        if (!name.empty()) names.push_back(std::move(name));
        name.clear();
    }
    return names;
}

// Letters, digits, "-" and "." (a DNS name as a browser sends it in Host).
bool IsHostName(std::string_view name) {
    return !name.empty() && name.size() <= 253 && name.front() != '.' && name.front() != '-' &&
           std::all_of(name.begin(), name.end(), [](char c) {
               return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.';
           });
}

}  // namespace

bool IsIpAddress(std::string_view text) { return IsIpv4(text) || IsIpv6(text); }

WebRemoteSettings ReadWebRemoteSettings(std::string_view bytes) {
    WebRemoteSettings settings;
    const NameValueFile file = ReadNameValueFile(bytes, kWebRemoteSettingsFile);
    settings.notices = file.notices;
    for (const NameValue& entry : file.values) {
        const std::string where = NoticeWhere(kWebRemoteSettingsFile, entry.line);
        const std::string& name = entry.name;
        const std::string_view value = entry.value;
        if (name == "start") {
            settings.start = value == "1";
            if (value != "0" && value != "1") settings.notices.push_back(where + "start is 0 or 1; 0 is used");
        } else if (name == "address") {
            std::string_view address = value;
            if (address.size() >= 2 && address.front() == '[' && address.back() == ']') {
                address = address.substr(1, address.size() - 2);
            }
            if (IsIpAddress(address)) {
                settings.listen.address = LowerAscii(address);
            } else {
                settings.listen.address = std::string(kDefaultWebAddress);
                settings.notices.push_back(where + "address " + ShownValue(value) + " is no IP address; " +
                                           std::string(kDefaultWebAddress) + " is used");
            }
        } else if (name == "port") {
            const auto port = ParsePort(value);
            settings.listen.port = port.value_or(kDefaultWebPort);
            if (!port) {
                settings.notices.push_back(where + "port " + ShownValue(value) + " is not 1 to 65535; " +
                                           std::to_string(kDefaultWebPort) + " is used");
            }
        } else if (name == "control_token" || name == "view_token") {
            std::optional<std::string>& token = name == "control_token" ? settings.controlToken : settings.viewToken;
            const std::string lower = LowerAscii(value);
            token.reset();
            if (IsTokenText(lower)) {
                token = lower;
            } else if (!value.empty()) {
                settings.notices.push_back(where + name + " is not 32 hex digits; a new token is made every run");
            }
        } else if (name == "tls_certificate") {
            settings.tlsCertificate = std::string(value);
        } else if (name == "tls_key") {
            settings.tlsKey = std::string(value);
        } else if (name == "host_names") {
            settings.hostNames.clear();
            for (const std::string& host : HostNameList(value)) {
                if (IsHostName(host)) {
                    settings.hostNames.push_back(host);
                } else {
                    settings.notices.push_back(where + "host name " + ShownValue(host) + " is not a name; ignored");
                }
            }
        } else {
            settings.notices.push_back(where + "unknown setting " + ShownValue(name) + "; ignored");
        }
    }
    if (settings.controlToken && settings.viewToken == settings.controlToken) {
        settings.viewToken.reset();
        settings.notices.push_back(std::string(kWebRemoteSettingsFile) +
                                   ": view_token is the control token; a new view token is made every run");
    }
    return settings;
}

std::string WriteWebRemoteSettings(const WebRemoteSettings& settings) {
    std::string bytes = "# Quorvane web remote\r\n";
    const auto line = [&bytes](std::string_view name, std::string_view value) {
        bytes.append(name).append("=").append(value).append("\r\n");
    };
    line("start", settings.start ? "1" : "0");
    line("address", settings.listen.address);
    line("port", std::to_string(settings.listen.port));
    line("control_token", settings.controlToken.value_or(""));
    line("view_token", settings.viewToken.value_or(""));
    line("tls_certificate", QuotedWhereNeeded(settings.tlsCertificate));
    line("tls_key", QuotedWhereNeeded(settings.tlsKey));
    std::string hosts;
    for (const std::string& host : settings.hostNames) hosts += (hosts.empty() ? "" : " ") + host;
    line("host_names", hosts);
    return bytes;
}

ListenArgument ParseListenArgument(std::string_view text) {
    ListenAddress listen;
    std::string_view port = text;
    if (!text.empty() && text.front() == '[') {
        const size_t close = text.find(']');
        if (close == std::string_view::npos || close + 1 >= text.size() || text[close + 1] != ':') {
            return {std::nullopt, "an IPv6 address is written [ADDR]:PORT"};
        }
        listen.address = LowerAscii(text.substr(1, close - 1));
        port = text.substr(close + 2);
        if (!IsIpv6(listen.address)) return {std::nullopt, ShownValue(text.substr(1, close - 1)) + " is no IPv6 address"};
    } else if (const size_t colon = text.rfind(':'); colon != std::string_view::npos) {
        const std::string_view address = text.substr(0, colon);
        if (address.find(':') != std::string_view::npos) {
            return {std::nullopt, "an IPv6 address is written [ADDR]:PORT"};
        }
        if (!IsIpv4(address)) return {std::nullopt, ShownValue(address) + " is no IP address"};
        listen.address = std::string(address);
        port = text.substr(colon + 1);
    }
    const auto number = ParsePort(port);
    if (!number) return {std::nullopt, "port " + ShownValue(port) + " is not 1 to 65535"};
    listen.port = *number;
    return {listen, {}};
}

bool IsEveryNetwork(std::string_view address) {
    return address == "0.0.0.0" || (IsIpv6(address) && address.find_first_not_of(":0") == std::string_view::npos);
}

std::string RemoteUrl(std::string_view host, int port, bool tls, std::string_view token) {
    const bool v6 = host.find(':') != std::string_view::npos;
    return std::string(tls ? "https://" : "http://") + (v6 ? "[" : "") + std::string(host) + (v6 ? "]" : "") + ":" +
           std::to_string(port) + "/?token=" + std::string(token);
}

}  // namespace quorvane

namespace quorvane {

bool IsLoopback(std::string_view address) {
    if (IsIpv4(address)) return address.starts_with("127.");
    return address == "::1" || address == "0:0:0:0:0:0:0:1";
}

std::optional<std::string> ClearTextNotice(const ListenAddress& listen, bool tls) {
    if (tls || IsLoopback(listen.address)) return std::nullopt;
    return "Web remote: " + listen.address +
           " is reached from the network without TLS: the links' tokens travel in clear text, and anyone on "
           "the network path can read them and use the remote (name tls_certificate and tls_key in " +
           kWebRemoteSettingsFile + " for https)";
}

}  // namespace quorvane
